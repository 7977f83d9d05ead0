#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "device/Setdx.h"
#include "device/StepSine.h"
#include "engine/FastSearch.h"
#include "engine/SearchWorker.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/Screens.h"
#include "platform/Clock.h"
#include "platform/Timers.h"
#include "platform/recording/RecordingDevice3D.h"
#include "platform/recording/RecordingPresent.h"
#include "platform/recording/RecordingText.h"

namespace {

constexpr uint32_t kFrameMs = 16; // the clock moves as at 60 frames a second
constexpr int kGameLevel = 9;
constexpr int kMostFrames = 1000000; // a game that has not ended by then never will

// The frames of a whole game of the computer against itself at the strongest level, through
// the game scene on the recording devices, as the frame loop runs them: each frame, then a
// 1 ms rest (the loop's Sleep(1)). Reports the longest frame in wall-clock milliseconds.
struct TGameFrames {
    TManualClock Clock{1000};
    TScopedClock UseClock{Clock};
    TRecordingLog Log{1 << 16};
    TRecordingDirect3D Direct3D{Log};
    TRecordingText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};

    TGameFrames() {
        FillSinTable();
        SetDeviceSources(TDeviceSources{&Presenter, nullptr, nullptr});
        InitGraphics(nullptr);
    }
    ~TGameFrames() {
        ReleaseGraphics();
        SetDeviceSources(TDeviceSources{});
        ResetMessageQueue();
    }

    // Plays the game; the longest frame in ms, the frame count in `frames` and each ply as
    // (x, y), or (-1, -1) for a pass, in `plies`.
    double Play(TSearchWorker& worker, int& frames, std::vector<std::pair<int, int>>& plies) {
        SetSearchWorker(&worker);
        FastSearchForget(); // every game starts from an empty table, as the program's first
        g_sage.SetLevel(kGameLevel);
        g_playerType[cellBlack] = g_playerType[cellWhite] = playerComputer;
        g_scene = sceneGame;
        g_gameState = gsStart;
        double longest = 0.0;
        frames = 0;
        while (g_gameState != gsResult && frames < kMostFrames) {
            const auto start = std::chrono::steady_clock::now();
            Clock.Advance(kFrameMs);
            Log.Clear();
            Text.ClearLog();
            const int before = g_gameState;
            RunScreens();
            MainTimers().Clear();
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            longest = std::max(longest, took.count());
            if (before == gsComputer && g_gameState == gsAnimate) {
                plies.emplace_back(g_lastMove.isPass ? -1 : g_lastMove.x,
                                   g_lastMove.isPass ? -1 : g_lastMove.y);
            }
            ++frames;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        SetSearchWorker(nullptr);
        return longest;
    }
};

// The engine's own game at the same level, ply by ply.
std::vector<std::pair<int, int>> EnginesGame() {
    TSage sage;
    sage.SetLevel(kGameLevel);
    TBoard board;
    std::vector<std::pair<int, int>> plies;
    while (!board.IsGameOver()) {
        int x = -1;
        int y = -1;
        if (sage.Think(board, &x, &y)) {
            board.Place(x, y);
        } else {
            board.Pass();
        }
        plies.emplace_back(x, y);
    }
    return plies;
}

void ReportGames(benchmark::State& state,
                 const std::function<std::unique_ptr<TSearchWorker>()>& make) {
    double longest = 0.0;
    int frames = 0;
    const std::vector<std::pair<int, int>> expected = EnginesGame();
    for (auto _ : state) {
        TGameFrames game;
        const std::unique_ptr<TSearchWorker> worker = make();
        std::vector<std::pair<int, int>> plies;
        longest = std::max(longest, game.Play(*worker, frames, plies));
        if (g_gameState != gsResult || plies != expected) {
            state.SkipWithError("the game through the screens is not the engine's own game");
            return;
        }
    }
    state.counters["longest_frame_ms"] = longest;
    state.counters["frames_per_game"] = frames;
}

// The computer thinks on the build's worker thread while the frames go on.
void BM_FramesWhileThinking(benchmark::State& state) {
    ReportGames(state, [] { return MakeSearchWorker(); });
}
BENCHMARK(BM_FramesWhileThinking)->Unit(benchmark::kMillisecond)->Iterations(3);

// For comparison: every search inside the frame that asks for it, as a build without threads.
void BM_FramesThinkingInTheFrame(benchmark::State& state) {
    ReportGames(state, [] { return std::make_unique<TInlineSearchWorker>(); });
}
BENCHMARK(BM_FramesThinkingInTheFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
