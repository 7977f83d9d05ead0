#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "device/Input.h"
#include "device/Wave.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/Timers.h"
#include "platform/WindowMessages.h"

namespace {

// One frame's input poll with a direction held (the repeat path).
void BM_PollInput(benchmark::State& state) {
    TManualClock clock(1000);
    TScopedClock useClock(clock);
    InitInput(nullptr);
    Keyboard().SetDown(VK_LEFT, true);
    for (auto _ : state) {
        clock.Advance(16);
        PollInput();
        benchmark::DoNotOptimize(g_keyState);
    }
    Keyboard().ReleaseAll();
}
BENCHMARK(BM_PollInput);

// Reading the longest shipped effect from memory, as at start-up.
void BM_ReadWave(benchmark::State& state) {
    std::ifstream in(std::string(OCTAVANE_ASSETS_DIR) + "/Sound/Lose.wav", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    for (auto _ : state) {
        TMemorySource source(bytes);
        TWave wave;
        benchmark::DoNotOptimize(ReadWave(source, wave));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_ReadWave);

void NoOp(uint32_t) {}

// A frame's worth of delayed sounds: 19 requests armed, then all taken when due.
void BM_TimerDispatch(benchmark::State& state) {
    TTimerTable table;
    uint32_t now = 0;
    for (auto _ : state) {
        for (uint32_t id = 100; id < 119; ++id) {
            table.Set(id, (id * 37) % 400, NoOp, now);
        }
        now += 400;
        uint32_t id = 0;
        TTimerProc proc = nullptr;
        while (table.TakeDue(now, id, proc)) {
            benchmark::DoNotOptimize(id);
        }
    }
}
BENCHMARK(BM_TimerDispatch);

} // namespace

BENCHMARK_MAIN();
