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

void DrawFrame() {
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
    // Count the rasteriser's work, not only the queueing of it.
    glFinish();
}

void BM_InitialSceneWithTenLines(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    GlPrepareWindowAttributes();
    SDL_Window* window = SDL_CreateWindow("Octavane bench", 0, 0, 640, 480, GlWindowFlags());
    TGlPresenterOptions options;
    options.FullScreen = false;
    options.Vsync = false;
    auto presenter = std::make_unique<TGlPresenter>(window, options);
    SetDeviceSources({presenter.get(), nullptr, nullptr});
    if (InitGraphics(nullptr) != DD_OK) {
        state.SkipWithError(GraphicsFailure());
        return;
    }
    g_pointer->Visible = false;
    g_boardModel->SetColor(0, 178, 178);
    DrawFrame(); // fonts opened, lines rendered
    const uint64_t before = AllocationCount();
    uint64_t frames = 0;
    for (auto _ : state) {
        DrawFrame();
        ++frames;
    }
    state.counters["allocations_per_frame"] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(frames);
    ReleaseGraphics();
    presenter.reset();
    SDL_DestroyWindow(window);
}

// Wall time is the figure that matters (the rasteriser works on threads of its own); the CPU
// column then counts every thread of the process.
BENCHMARK(BM_InitialSceneWithTenLines)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
