#include "GlHarness.h"

#include "device/Setdx.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

void SetUpGraphics(int width, int height) {
    static std::map<std::pair<int, int>, std::unique_ptr<TGlPresenter>> presenters;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SDL_InitSubSystem(SDL_INIT_VIDEO); // the window below says why when this fails
    std::unique_ptr<TGlPresenter>& presenter = presenters[{width, height}];
    if (!presenter) {
        GlPrepareWindowAttributes();
        SDL_Window* window =
            SDL_CreateWindow("Octavane test", 0, 0, width, height, GlWindowFlags());
        ASSERT_NE(window, nullptr) << SDL_GetError();
        presenter = std::make_unique<TGlPresenter>(window, TGlPresenterOptions{false, false});
    }
    SetDeviceSources({presenter.get(), nullptr, nullptr});
    RuntimeSrand(1);
    ASSERT_EQ(InitGraphics(nullptr), DD_OK) << GraphicsFailure();
}

void TearDownGraphics() {
    ReleaseGraphics();
    SetDeviceSources({});
}

TFrameImage ReadBack() {
    return ReadFrame(static_cast<const TGlPresenter*>(g_presenter)->Screen());
}

void KeepFrame(const TFrameImage& frame, const char* name) {
    static const std::string directory = [] {
        std::string pattern = ::testing::TempDir() + "octavane-frames-XXXXXX";
        std::printf("frames kept in %s\n", mkdtemp(pattern.data()) ? pattern.c_str() : "nowhere");
        return pattern;
    }();
    SaveFramePng(frame, directory + "/" + name + ".png");
}
