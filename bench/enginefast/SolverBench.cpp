// Speed of the exact endgame solver on positions 40 to 44 of the FFO endgame test suite, a
// public set of endgame positions solvers are commonly measured by (20 to 23 empty squares;
// tests/engine/data/ffo-40-44.txt holds them with their source). Each is solved once from an
// empty table; the counters give the nodes and the thread's CPU time, the steadier figure on a
// machine shared with other work. A wrong score or a move that is not among the best ends the
// benchmark with an error.

#include "engine/EndgameSolver.h"
#include "engine/FastIsa.h"
#include "engine/PositionText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

struct TSetPosition {
    const char* Line;
    int Score;
    int BestMoves[2]; // -1 where the position has only one
};

// Board a1..h8 and the side to move; the exact score for that side and its best moves.
constexpr TSetPosition kTestSet[] = {
    {"O--OOOOX-OOOOOOXOOXXOOOXOOXOOOXXOOOOOOXX---OOOOX----O--X-------- X", 38, {8, -1}},
    {"-OOOOO----OOOOX--OOOOOO-XXXXXOO--XXOOX--OOXOXX----OXXO---OOO--O- X", 0, {31, -1}},
    {"--OOO-------XX-OOOOOOXOO-OOOOXOOX-OOOXXO---OOXOO---OOOXO--OOOO-- X", 6, {14, -1}},
    {"--XXXXX---XXXX---OOOXX---OOXXXX--OOXXXO-OOOOXOO----XOX----XXXXX- O", -12, {22, 50}},
    {"--O-X-O---O-XO-O-OOXXXOOOOOOXXXOOOOOXX--XXOOXO----XXXX-----XXX-- O", -14, {11, 57}},
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void BM_TestSet(benchmark::State& state) {
    const TSetPosition& position = kTestSet[state.range(0)];
    TPositionText text;
    std::string reason;
    ParsePositionText(position.Line, &text, &reason);
    const TBitboard own = text.BlackToMove ? text.Black : text.White;
    const TBitboard opp = text.BlackToMove ? text.White : text.Black;
    TSolveResult result;
    double cpuSeconds = 0;
    for (auto _ : state) {
        TEndgameSolver solver;
        const double start = ThreadCpuSeconds();
        result = solver.Solve(own, opp);
        cpuSeconds = ThreadCpuSeconds() - start;
    }
    if (!result.Solved || result.Score != position.Score ||
        (result.Square != position.BestMoves[0] && result.Square != position.BestMoves[1])) {
        state.SkipWithError("a wrong score or move");
    }
    std::string label = std::to_string(40 + state.range(0));
    label += ' ';
    label += SquareName(result.Square);
    label += ' ';
    label += std::to_string(result.Score);
    label += ' ';
    label += FastIsaName(FastSelectedIsa());
    state.SetLabel(label);
    state.counters["nodes"] = static_cast<double>(result.Nodes);
    state.counters["cpu_s"] = cpuSeconds;
}
BENCHMARK(BM_TestSet)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// OCTAVANE_FAST_ISA ("plain", "popcnt", "avx2", "avx512") runs it on that build of the engine.
int main(int argc, char** argv) {
    if (const char* name = std::getenv("OCTAVANE_FAST_ISA"); name != nullptr) {
        TFastIsa isa = TFastIsa::Plain;
        if (!FastIsaFromName(name, &isa) || !FastSelectIsa(isa)) {
            std::fprintf(stderr, "solver_bench: no build %s on this processor\n", name);
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
