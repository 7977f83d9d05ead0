// Real frames of the models through the OpenGL device under SDL's offscreen driver: what the
// recorded draw calls of the other tests turn into on screen. Frames are kept as
// /tmp/octavane-scene-<name>.png for people to look at.
#include "device/Setdx.h"
#include "platform/Clock.h"
#include "platform/sdl/GlPresenter.h"
#include "platform/sdl/PngFrame.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

class GlModels : public ::testing::Test {
  protected:
    // The window and its presenter stay for the whole program, as the game's do.
    static void SetUpTestSuite() {
        if (Presenter) {
            return;
        }
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return;
        }
        GlPrepareWindowAttributes();
        Window = SDL_CreateWindow("Octavane scene test", 0, 0, kWidth, kHeight, GlWindowFlags());
        if (Window == nullptr) {
            return;
        }
        TGlPresenterOptions options;
        options.FullScreen = false;
        options.Vsync = false;
        Presenter = new TGlPresenter(Window, options);
    }

    void SetUp() override {
        ASSERT_NE(Presenter, nullptr) << "no offscreen GL window: " << SDL_GetError();
        SetDeviceSources({Presenter, nullptr, nullptr});
        ASSERT_EQ(InitGraphics(nullptr), 0) << GraphicsFailure();
        // Only what a test shows is drawn.
        for (TSolidPiece* piece : g_pieces) {
            piece->Visible = false;
        }
        g_boardModel->Visible = false;
        g_pointer->Visible = false;
    }

    void TearDown() override {
        ReleaseGraphics();
        SetDeviceSources({});
    }

    TFrameImage Frame(const char* name) {
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
        TFrameImage frame = ReadFrame(Presenter->Screen());
        SaveFramePng(frame, std::string("/tmp/octavane-scene-") + name + ".png");
        return frame;
    }

    static SDL_Window* Window;
    static TGlPresenter* Presenter;
    TManualClock Clock{0};
    TScopedClock Scope{Clock};
};

SDL_Window* GlModels::Window = nullptr;
TGlPresenter* GlModels::Presenter = nullptr;

// Pixels that are clearly yellow: red and green high, blue low.
int YellowPixels(const TFrameImage& frame) {
    int count = 0;
    for (int y = 0; y < frame.Height; ++y) {
        for (int x = 0; x < frame.Width; ++x) {
            const auto p = frame.At(x, y);
            if (p.R > 100 && p.G > 100 && p.B < p.R / 2) {
                ++count;
            }
        }
    }
    return count;
}

int BrightPixels(const TFrameImage& frame, int threshold) {
    int count = 0;
    for (int y = 0; y < frame.Height; ++y) {
        for (int x = 0; x < frame.Width; ++x) {
            const auto p = frame.At(x, y);
            if (p.R + p.G + p.B > 3 * threshold) {
                ++count;
            }
        }
    }
    return count;
}

} // namespace

TEST_F(GlModels, SpinningPointerShowsAFaceFromEitherSideAndVanishesEdgeOn) {
    g_pointer->Visible = true;
    g_pointer->Position.Z.SetValue(10.0);
    g_pointer->Rotation.Z.SetValue(0.0);
    g_pointer->Rotation.Z.AddSchedule(0.0, 0, true);
    g_pointer->Rotation.Z.AddSchedule(360.0, 2000, true);

    const int front = YellowPixels(Frame("pointer-front"));
    Clock.Advance(500); // a quarter turn: edge-on to the camera
    const int edgeOn = YellowPixels(Frame("pointer-edge"));
    Clock.Advance(500); // half a turn: the other face towards the camera
    const int back = YellowPixels(Frame("pointer-back"));

    EXPECT_GT(front, 150);
    EXPECT_GT(back, 150);
    EXPECT_NEAR(back, front, front / 10);
    EXPECT_LT(edgeOn, front / 10);
}

TEST_F(GlModels, DiscShowsBlackUpAndWhiteWhenTurnedOver) {
    TSolidPiece* disc = g_pieces[27];
    disc->Visible = true;
    disc->Position.X.SetValue(0.0);
    disc->Position.Y.SetValue(0.0);
    disc->Rotation.X.SetValue(0.0);
    const int blackUp = BrightPixels(Frame("disc-black"), 150);
    disc->Rotation.X.SetValue(180.0);
    const int whiteUp = BrightPixels(Frame("disc-white"), 150);
    // The white face fills far more of the picture than the white rim seen under a black top.
    EXPECT_GT(whiteUp, 500);
    EXPECT_GT(whiteUp, 3 * blackUp);
}

TEST_F(GlModels, WholeSceneIsNotABlackScreen) {
    g_boardModel->Visible = true;
    g_boardModel->SetColor(0, 178, 178);
    for (TSolidPiece* piece : g_pieces) {
        piece->Visible = true;
    }
    g_pointer->Visible = true;
    g_pointer->Position.X.SetValue(70.0);
    g_pointer->Position.Y.SetValue(70.0);
    g_pointer->Position.Z.SetValue(40.0);
    g_pointer->Rotation.Z.SetValue(30.0);
    const TFrameImage frame = Frame("whole");
    // The board covers a good part of the screen in its colour.
    int boardColoured = 0;
    for (int y = 0; y < frame.Height; ++y) {
        for (int x = 0; x < frame.Width; ++x) {
            const auto p = frame.At(x, y);
            if (p.G > 40 && p.B > 40 && p.R < p.G / 2) {
                ++boardColoured;
            }
        }
    }
    EXPECT_GT(boardColoured, frame.Width * frame.Height / 20);
    EXPECT_GT(YellowPixels(frame), 100);
}
