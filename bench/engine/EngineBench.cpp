// Think time of the computer player through whole games: level L against level L from the
// initial position, every move timed on its own. Each level's game runs once (the search is
// deterministic, so a second run would play the very same game); the report gives per level
// the slowest move and the total of all moves, both in wall-clock time and in the CPU time of
// the thinking thread (the latter is the steadier figure on a loaded machine).
//
//   engine_bench                                  all nine levels
//   engine_bench --benchmark_filter='level:[1-6]/'      only some levels

#include "engine/discsage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <string>

namespace {

struct TLevelReport {
    int moves = 0;
    int passes = 0;
    double slowestMs = 0;
    int slowestEmpties = 0; // empty squares before the slowest move
    double totalMs = 0;
    double slowestCpuMs = 0;
    double totalCpuMs = 0;
    int black = 0;
    int white = 0;
};

std::map<int, TLevelReport> g_reports;

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

TLevelReport PlaySelfGame(int level) {
    TSage sage;
    sage.SetLevel(level);
    TBoard board;
    TLevelReport report;
    while (!board.IsGameOver()) {
        const int empties = board.GetCount(cellEmpty);
        int x = -1;
        int y = -1;
        const double cpuStart = ThreadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        const bool moves = sage.Think(board, &x, &y);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        const double cpuMs = ThreadCpuMs() - cpuStart;
        if (moves) {
            if (!board.Place(x, y)) {
                std::fprintf(stderr, "level %d answered an illegal move (%d, %d)\n", level, x, y);
                break;
            }
            ++report.moves;
        } else {
            board.Pass();
            ++report.passes;
        }
        report.totalMs += took.count();
        report.totalCpuMs += cpuMs;
        if (cpuMs > report.slowestCpuMs) {
            report.slowestCpuMs = cpuMs;
        }
        if (took.count() > report.slowestMs) {
            report.slowestMs = took.count();
            report.slowestEmpties = empties;
        }
    }
    report.black = board.GetCount(cellBlack);
    report.white = board.GetCount(cellWhite);
    return report;
}

void SelfPlay(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    TLevelReport report;
    for (auto _ : state) {
        report = PlaySelfGame(level);
        state.SetIterationTime(report.totalMs / 1000.0);
    }
    g_reports[level] = report;
    state.counters["slowest_ms"] = report.slowestMs;
    state.counters["slowest_at_empty"] = report.slowestEmpties;
    state.counters["total_ms"] = report.totalMs;
    state.counters["slowest_cpu_ms"] = report.slowestCpuMs;
    state.counters["total_cpu_ms"] = report.totalCpuMs;
    state.counters["moves"] = report.moves;
    state.SetLabel(std::to_string(report.black) + "-" + std::to_string(report.white));
}

BENCHMARK(SelfPlay)
    ->ArgName("level")
    ->DenseRange(kLevelMin, kLevelMax)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void PrintSummary() {
    if (g_reports.empty()) {
        return;
    }
    std::printf("\nThink time per self-play game (level L against level L)\n");
    std::printf("%-6s %-10s %6s %6s %12s %9s %12s %12s %12s  %s\n", "level", "name", "moves",
                "passes", "slowest ms", "at empty", "total ms", "slowest cpu", "total cpu",
                "result");
    for (const auto& [level, r] : g_reports) {
        std::printf("%-6d %-10s %6d %6d %12.1f %9d %12.1f %12.1f %12.1f  %d-%d\n", level,
                    LevelName(level), r.moves, r.passes, r.slowestMs, r.slowestEmpties, r.totalMs,
                    r.slowestCpuMs, r.totalCpuMs, r.black, r.white);
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
