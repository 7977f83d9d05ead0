#include "AllocationCount.h"
#include "device/Setdx.h"
#include "game/ScreenText.h"
#include "platform/sdl/GlPresenter.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

struct TLine {
    RECT Rect;
    const char* Text;
    COLORREF Color;
    const char* Face;
    int Height;
};

// Ten lines in the faces, sizes and colours the screens use.
const TLine kLines[] = {
    {{0, 40, 640, 120}, "OCTAVANE", 0xFFFFFF, "Times New Roman", 64},
    {{0, 140, 640, 180}, "[ GAME START ]", 0x00FFFF, "Times New Roman", 32},
    {{0, 180, 640, 220}, "[ CONFIG ]", 0x808080, "Times New Roman", 32},
    {{0, 220, 640, 260}, "[ EXIT ]", 0x808080, "Times New Roman", 32},
    {{0, 270, 640, 300}, "Level: Extreme+", 0xFF0080, "Times New Roman", 24},
    {{0, 300, 640, 330}, "Extreme", 0x0000FF, "Times New Roman", 24},
    {{0, 340, 320, 370}, "Black 2", 0x00FFFF, "Times New Roman", 30},
    {{320, 340, 640, 370}, "White 2", 0xFFFFFF, "Times New Roman", 30},
    {{0, 380, 640, 400}, "Press Space", 0xFFFFFF, "Times New Roman", 16},
    {{320, 420, 640, 480}, "パスは Enter キー", 0xFFFFFF, "ＭＳ Ｐゴシック", 20},
};

// The resident set of this process in KiB, from /proc (0 where there is none).
long ResidentKiB() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    long kib = 0;
    if (status != nullptr) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr) {
            if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1) {
                break;
            }
        }
        std::fclose(status);
    }
    return kib;
}

void DrawFrame(bool finish = true) {
    BeginFrame(0);
    g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0x00FF8080);
    g_camera->Update();
    g_lights[1]->Update();
    g_boardModel->Render();
    for (TSolidPiece* piece : g_pieces) {
        piece->Render();
    }
    g_pointer->Render();
    for (const TLine& line : kLines) {
        DrawScreenText(line.Rect, line.Text, line.Color, line.Face, line.Height);
    }
    PresentFrame();
    if (finish) {
        // Count the rasteriser's work, not only the queueing of it.
        glFinish();
    }
}

// An offscreen window with the whole scene set up on it, for the life of one benchmark.
class TOffscreenScene {
  public:
    explicit TOffscreenScene(benchmark::State& state) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            state.SkipWithError(SDL_GetError());
            return;
        }
        GlPrepareWindowAttributes();
        Window = SDL_CreateWindow("Octavane bench", 0, 0, 640, 480, GlWindowFlags());
        TGlPresenterOptions options;
        options.FullScreen = false;
        options.Vsync = false;
        Presenter = std::make_unique<TGlPresenter>(Window, options);
        SetDeviceSources({Presenter.get(), nullptr, nullptr});
        if (InitGraphics(nullptr) != DD_OK) {
            state.SkipWithError(GraphicsFailure());
            return;
        }
        g_pointer->Visible = false;
        g_boardModel->SetColor(0, 178, 178);
        Ready = true;
    }
    ~TOffscreenScene() {
        ReleaseGraphics();
        Presenter.reset();
        if (Window != nullptr) {
            SDL_DestroyWindow(Window);
        }
    }
    bool Ready = false;

  private:
    SDL_Window* Window = nullptr;
    std::unique_ptr<TGlPresenter> Presenter;
};

void BM_InitialSceneWithTenLines(benchmark::State& state) {
    TOffscreenScene scene(state);
    if (!scene.Ready) {
        return;
    }
    DrawFrame(); // fonts opened, lines rendered
    const uint64_t before = AllocationCount();
    uint64_t frames = 0;
    for (auto _ : state) {
        DrawFrame();
        ++frames;
    }
    state.counters["allocations_per_frame"] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(frames);
}

// Frames presented as the program presents them, with nothing waiting for the rasteriser: the
// memory the driver holds must stay flat however many frames go by.
void BM_PresentedFramesKeepMemoryFlat(benchmark::State& state) {
    TOffscreenScene scene(state);
    if (!scene.Ready) {
        return;
    }
    for (int i = 0; i < 1000; ++i) {
        DrawFrame(false); // past the first allocations of fonts, lines and the driver's pools
    }
    const long before = ResidentKiB();
    uint64_t frames = 0;
    for (auto _ : state) {
        DrawFrame(false);
        ++frames;
    }
    glFinish();
    state.counters["rss_growth_kib_per_1000_frames"] =
        static_cast<double>(ResidentKiB() - before) * 1000.0 / static_cast<double>(frames);
}

// Wall time is the figure that matters (the rasteriser works on threads of its own); the CPU
// column then counts every thread of the process.
BENCHMARK(BM_InitialSceneWithTenLines)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_PresentedFramesKeepMemoryFlat)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2000)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
