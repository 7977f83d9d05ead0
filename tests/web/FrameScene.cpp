// One fixed frame through the real device set-up, for comparing the desktop's and the browser's
// pixel by pixel: the board and its discs at a fixed clock with fog on, a flat-shaded strip whose
// vertices are lit differently (a triangle coloured from the wrong vertex shows), and text in the
// two faces. frame_scene OUT.png on the desktop (offscreen); in the browser it stays on the canvas.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "device/Setdx.h"
#include "game/TextItems.h"
#include "platform/Clock.h"
#include "platform/sdl/GlPresenter.h"
#include "scene/BoardGeometry.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Transmat.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#include "platform/sdl/PngFrame.h"
#endif

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr uint32_t kSceneClockMs = 123456;

// A strip of six vertices over the board's near half, each normal leaning another way.
void DrawFlatStrip() {
    D3DMATERIAL material{};
    material.dwSize = sizeof material;
    material.diffuse = {0.9f, 0.8f, 0.3f, 1.0f};
    material.ambient = {0.2f, 0.2f, 0.2f, 1.0f};
    g_material->SetMaterial(material);
    g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
    // The strip's pairs of corners, left to right.
    D3DVERTEX strip[6] = {
        {-300, 60, 80, 1, 0, 0.2f, 0, 0},   {-300, 280, 80, 0, 1, 0.3f, 0, 0},
        {0, 60, 80, -1, 0, 0.5f, 0, 0},     {0, 280, 80, 0, -1, 0.2f, 0, 0},
        {300, 60, 80, 0.7f, 0.7f, 1, 0, 0}, {300, 280, 80, -0.7f, 0.7f, 0.1f, 0, 0}};
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, MatrixIdentity());
    g_device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    g_device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
    g_device->BeginScene();
    g_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DVT_VERTEX, strip, 6, 0);
    g_device->EndScene();
    g_device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
}

void DrawScene() {
    BeginFrame(1);
    g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, kSceneAmbient);
    g_camera->Update();
    g_lights[1]->Update();
    g_boardModel->Render();
    for (TSolidPiece* piece : g_pieces) {
        piece->Render();
    }
    DrawFlatStrip();
    DrawTextItem(0, 20, 640, 84, "Octavane", kColourWhite, kFaceTimes, 64);
    DrawTextItem(320, 420, 640, 480, "パスは Enter キー", kColourYellow, kFaceGothic, 20);
}

} // namespace

int main(int argc, char** argv) {
#ifndef __EMSCRIPTEN__
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
#else
    (void)argc;
    (void)argv;
#endif
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "frame_scene: %s\n", SDL_GetError());
        return 1;
    }
    TManualClock clock(kSceneClockMs);
    TScopedClock useClock(clock);
    GlPrepareWindowAttributes();
    SDL_Window* window = SDL_CreateWindow("Octavane frame", 0, 0, kWidth, kHeight, GlWindowFlags());
    if (window == nullptr) {
        std::fprintf(stderr, "frame_scene: %s\n", SDL_GetError());
        return 1;
    }
    TGlPresenter presenter(window, TGlPresenterOptions{false, false});
    SetDeviceSources({&presenter, nullptr, nullptr});
    RuntimeSrand(1);
    if (InitGraphics(nullptr) != DD_OK) {
        std::fprintf(stderr, "frame_scene: %s\n", GraphicsFailure());
        return 1;
    }
    DrawScene();
#ifdef __EMSCRIPTEN__
    PresentFrame();
    EM_ASM({ window.frameSceneDrawn = true; });
    return 0; // the runtime stays; the frame stays on the canvas
#else
    const TFrameImage frame = ReadFrame(presenter.Screen());
    const bool saved = SaveFramePng(frame, argv[1]);
    ReleaseGraphics();
    SetDeviceSources({});
    SDL_DestroyWindow(window);
    SDL_Quit();
    return saved ? 0 : 1;
#endif
}
