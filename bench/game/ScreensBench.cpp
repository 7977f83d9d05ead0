#include <benchmark/benchmark.h>

#include "device/Input.h"
#include "device/Setdx.h"
#include "device/StepSine.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/Screens.h"
#include "platform/Clock.h"
#include "platform/Timers.h"
#include "platform/recording/RecordingDevice3D.h"
#include "platform/recording/RecordingPresent.h"
#include "platform/recording/RecordingText.h"

namespace {

// The cost of the screens' own work in one frame: state machine, schedules, model drawing
// calls and text calls, on the recording devices (no pixels are made). The clock moves 16 ms a
// frame, as at 60 frames a second.
struct TBench {
    TManualClock Clock{1000};
    TScopedClock UseClock{Clock};
    TRecordingLog Log{1 << 16};
    TRecordingDirect3D Direct3D{Log};
    TRecordingText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};

    TBench() {
        FillSinTable();
        SetDeviceSources(TDeviceSources{&Presenter, nullptr, nullptr});
        InitGraphics(nullptr);
    }
    ~TBench() {
        ReleaseGraphics();
        SetDeviceSources(TDeviceSources{});
        ResetMessageQueue();
    }
    void Frame() {
        Clock.Advance(16);
        Log.Clear();
        Text.ClearLog();
        RunScreens();
        MainTimers().Clear();
    }
};

void BM_TitleFrame(benchmark::State& state) {
    TBench bench;
    g_scene = sceneTitle;
    g_titleState = tsInit;
    for (auto _ : state) {
        bench.Frame();
    }
}
BENCHMARK(BM_TitleFrame);

// A two-player game in the middle of a move's animation: the busiest frames of the game.
void BM_GameFrameDuringAnimation(benchmark::State& state) {
    TBench bench;
    g_playerType[cellBlack] = playerHuman;
    g_playerType[cellWhite] = playerHuman;
    g_scene = sceneGame;
    g_gameState = gsStart;
    for (int i = 0; i < 100; ++i) {
        bench.Frame();
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (g_gameState == gsHuman) {
            g_cursorX = 3;
            g_cursorY = 2;
            g_gameBoard = TBoard();
            g_shownBoard = g_gameBoard;
            g_keyState[keySpace] = KEY_TRIGGERED | KEY_HELD;
            bench.Frame();
            g_keyState[keySpace] = 0;
        }
        state.ResumeTiming();
        bench.Frame();
    }
}
BENCHMARK(BM_GameFrameDuringAnimation);

} // namespace

BENCHMARK_MAIN();
