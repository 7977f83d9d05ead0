// The large comparison of the computer player with the reference search: well over 100,000
// position-level pairs, from random games at every number of empty squares, positions with a
// pass to make or just made, positions where neither side can move, and the positions of each
// level's self-play game. Every level is included wherever the reference search finishes in
// reasonable time: the shallow levels everywhere, the deep ones where their search solves the
// game to the end (up to 11 or 12 empty squares) and in the opening.
//
// Run by hand (it takes minutes): enginefast_compare_large [plain|popcnt|avx2|avx512], on the
// engine's own choice of instruction set build when none is named. Exit status 0 when every
// pair agrees; otherwise the first differences are printed.

#include "ComparePositions.h"
#include "engine/FastIsa.h"
#include "engine/discsage.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct TStratum {
    const char* Name;
    int LevelFrom, LevelTo;
    int EmptiesFrom, EmptiesTo;
    int Positions; // random positions for each number of empty squares
};

// Random positions, every level at each count of empty squares in the range.
const TStratum strata[] = {
    {"solved endgames, every level", 1, 9, 1, 9, 700}, {"10 empty, every level", 1, 9, 10, 10, 120},
    {"11 empty, every level", 1, 9, 11, 11, 50},       {"12 empty, deep levels", 7, 9, 12, 12, 10},
    {"12 to 17 empty, levels 1-6", 1, 6, 12, 17, 60},  {"midgame, levels 1-2", 1, 2, 18, 59, 400},
    {"opening, levels 3-6", 3, 6, 45, 59, 100},        {"midgame, levels 3-6", 3, 6, 18, 44, 12},
    {"opening, levels 7-8", 7, 8, 52, 59, 5},          {"opening, level 9", 9, 9, 57, 59, 3},
};

// Whether the reference searches this level at this count of empty squares quickly enough
// for the special positions below.
bool Tractable(int level, int empties) {
    const int depth = ChooseDepth(level, empties);
    if (depth >= empties) {
        return empties <= 11;
    }
    return depth <= 5 || (depth == 7 && (empties <= 15 || empties >= 52)) ||
           (depth == 9 && empties >= 57);
}

struct TTally {
    long Pairs = 0;
    long Failures = 0;
    double Seconds = 0;
};

std::vector<std::string> g_failures;

void Check(TTally& tally, const TBoard& board, int level) {
    const std::string difference = CompareLevel(board, level);
    ++tally.Pairs;
    if (!difference.empty()) {
        ++tally.Failures;
        if (g_failures.size() < 10) {
            g_failures.push_back(difference);
        }
    }
}

void CheckTractable(TTally& tally, const std::vector<TBoard>& boards) {
    for (const TBoard& board : boards) {
        for (int level = 1; level <= 9; ++level) {
            if (Tractable(level, board.GetCount(cellEmpty))) {
                Check(tally, board, level);
            }
        }
    }
}

// The positions of the self-play game of `level`, played with the computer player.
std::vector<TBoard> SelfPlayPositions(int level) {
    TSage sage;
    sage.SetLevel(level);
    std::vector<TBoard> boards;
    TBoard board;
    while (!board.IsGameOver()) {
        boards.push_back(board);
        int x = 0;
        int y = 0;
        if (sage.Think(board, &x, &y)) {
            board.Place(x, y);
        } else {
            board.Pass();
        }
    }
    return boards;
}

template <typename Run> void Report(const char* name, TTally& total, Run run) {
    TTally tally;
    const auto start = std::chrono::steady_clock::now();
    run(tally);
    tally.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %7ld pairs %4ld different %8.1f s\n", name, tally.Pairs, tally.Failures,
                tally.Seconds);
    std::fflush(stdout);
    total.Pairs += tally.Pairs;
    total.Failures += tally.Failures;
    total.Seconds += tally.Seconds;
}

// Selects the build named on the command line; false when it is unknown or cannot run here.
bool SelectIsa(int argc, char** argv) {
    if (argc < 2) {
        return true;
    }
    TFastIsa isa = TFastIsa::Plain;
    if (!FastIsaFromName(argv[1], &isa)) {
        std::fprintf(stderr, "no such instruction set build: %s\n", argv[1]);
        return false;
    }
    if (!FastSelectIsa(isa)) {
        std::fprintf(stderr, "this processor does not run the %s build\n", argv[1]);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (!SelectIsa(argc, argv)) {
        return 2;
    }
    TTally total;
    TRandom random(20261206);
    for (const TStratum& stratum : strata) {
        Report(stratum.Name, total, [&](TTally& tally) {
            for (int empties = stratum.EmptiesFrom; empties <= stratum.EmptiesTo; ++empties) {
                for (int i = 0; i < stratum.Positions; ++i) {
                    TBoard board;
                    if (!PlayoutTo(random, empties, board)) {
                        continue;
                    }
                    for (int level = stratum.LevelFrom; level <= stratum.LevelTo; ++level) {
                        Check(tally, board, level);
                    }
                }
            }
        });
    }
    Report("side to move must pass", total,
           [&](TTally& tally) { CheckTractable(tally, PassPositions(random, 2000)); });
    Report("just after a pass", total,
           [&](TTally& tally) { CheckTractable(tally, AfterPassPositions(random, 2000)); });
    Report("neither side can move", total,
           [&](TTally& tally) { CheckTractable(tally, DeadlockPositions(random, 300)); });
    Report("self-play games", total, [&](TTally& tally) {
        for (int level = 1; level <= 9; ++level) {
            CheckTractable(tally, SelfPlayPositions(level));
        }
    });
    std::printf("%-34s %7ld pairs %4ld different %8.1f s\n", "total", total.Pairs, total.Failures,
                total.Seconds);
    for (const std::string& failure : g_failures) {
        std::printf("\n%s", failure.c_str());
    }
    return total.Failures == 0 && total.Pairs >= 100000 ? 0 : 1;
}
