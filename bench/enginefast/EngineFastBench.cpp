// Speed of the fast engine: perft to depth 11 with the bitboard move generator, and each level's
// self-play game (level L against level L from the initial position) move by move through Think,
// reporting the slowest move and the total thinking time. Allocations are counted around every
// Think after the first: the search must not allocate per node.

#include "AllocationCount.h"
#include "engine/FastBoard.h"
#include "engine/FastIsa.h"
#include "engine/FastSearch.h"
#include "engine/discsage.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <new>

namespace {

constexpr std::uint64_t perft11Leaves = 212260880;

// Runs a benchmark on the engine's own choice of build when its second argument is 0, else on
// the plain (1), POPCNT (2) or AVX2 (3) build, and labels it with the build it ran on.
class TIsaChoice {
  public:
    explicit TIsaChoice(benchmark::State& state) : m_saved(FastSelectedIsa()) {
        if (state.range(1) == 1) {
            FastSelectIsa(TFastIsa::Plain);
        } else if (state.range(1) == 2) {
            FastSelectIsa(TFastIsa::Popcnt);
        } else if (state.range(1) == 3) {
            FastSelectIsa(TFastIsa::Avx2);
        }
        state.SetLabel(FastIsaName(FastSelectedIsa()));
    }
    ~TIsaChoice() { FastSelectIsa(m_saved); }
    TIsaChoice(const TIsaChoice&) = delete;
    TIsaChoice& operator=(const TIsaChoice&) = delete;

  private:
    TFastIsa m_saved;
};

void BM_Perft11(benchmark::State& state) {
    const TIsaChoice isa(state);
    std::uint64_t leaves = 0;
    for (auto _ : state) {
        leaves = FastPerft(kFastInitialBlack, kFastInitialWhite, 11, 0);
        benchmark::DoNotOptimize(leaves);
    }
    if (leaves != perft11Leaves) {
        state.SkipWithError("perft 11 gives the wrong leaf count");
    }
    state.counters["leaves"] = static_cast<double>(leaves);
}
BENCHMARK(BM_Perft11)->Args({11, 0})->Args({11, 1})->Unit(benchmark::kMillisecond)->Iterations(3);

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct TGameTimes {
    double SlowestMs = 0;
    double TotalMs = 0;
    double SlowestCpuMs = 0; // CPU time of the thinking thread: the steadier figure on a
    double TotalCpuMs = 0;   // machine shared with other work
    int Moves = 0;
    std::uint64_t Allocations = 0;
    std::uint64_t Nodes = 0;        // search nodes: the steady measure of the work done
    std::uint64_t SlowestNodes = 0; // nodes of the move that took the most nodes
    int Black = 0;
    int White = 0;
};

// One self-play game at `level`, every Think timed on its own.
TGameTimes PlaySelfGame(int level) {
    TSage sage;
    sage.SetLevel(level);
    TBoard board;
    TGameTimes times;
    while (!board.IsGameOver()) {
        int x = -1;
        int y = -1;
        const std::uint64_t allocationsBefore = AllocationCount();
        const std::uint64_t nodesBefore = FastSearchNodes();
        const double cpuStart = ThreadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        const bool moved = sage.Think(board, &x, &y);
        const auto stop = std::chrono::steady_clock::now();
        const double cpuMs = ThreadCpuMs() - cpuStart;
        times.TotalCpuMs += cpuMs;
        times.SlowestCpuMs = std::max(times.SlowestCpuMs, cpuMs);
        times.Allocations += AllocationCount() - allocationsBefore;
        const std::uint64_t nodes = FastSearchNodes() - nodesBefore;
        times.Nodes += nodes;
        times.SlowestNodes = std::max(times.SlowestNodes, nodes);
        const double ms = std::chrono::duration<double, std::milli>(stop - start).count();
        times.TotalMs += ms;
        times.SlowestMs = std::max(times.SlowestMs, ms);
        ++times.Moves;
        if (moved) {
            board.Place(x, y);
        } else {
            board.Pass();
        }
    }
    times.Black = board.GetCount(cellBlack);
    times.White = board.GetCount(cellWhite);
    return times;
}

void BM_SelfPlay(benchmark::State& state) {
    const TIsaChoice isa(state);
    const int level = static_cast<int>(state.range(0));
    TGameTimes times;
    for (auto _ : state) {
        // Every game starts with an empty table, as the program's first game does; the table
        // itself is made once, by the first search of the program, outside the figures.
        state.PauseTiming();
        FastSearch(TFastPosition{}, 1);
        FastSearchForget();
        state.ResumeTiming();
        times = PlaySelfGame(level);
    }
    state.counters["slowest_ms"] = times.SlowestMs;
    state.counters["slowest_cpu_ms"] = times.SlowestCpuMs;
    state.counters["total_cpu_ms"] = times.TotalCpuMs;
    state.counters["total_ms"] = times.TotalMs;
    state.counters["thinks"] = times.Moves;
    state.counters["nodes"] = static_cast<double>(times.Nodes);
    state.counters["most_nodes"] = static_cast<double>(times.SlowestNodes);
    state.counters["allocs"] = static_cast<double>(times.Allocations);
    state.counters["black"] = times.Black;
    state.counters["white"] = times.White;
}
// Every level on the engine's own choice of build; level 9 on the others as well.
BENCHMARK(BM_SelfPlay)
    ->ArgsProduct({benchmark::CreateDenseRange(1, 9, 1), {0}})
    ->Args({9, 1})
    ->Args({9, 2})
    ->Args({9, 3})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
