// The large comparison of the computer player with the reference search: well over 100,000
// position-level pairs, from random games at every number of empty squares and positions around
// passes, at every level wherever the reference search finishes in reasonable time.
//
// Run by hand (it takes minutes): engine_compare_large [plain|popcnt|avx2|avx512]. Exit status 0
// when every pair agrees; otherwise the first differences are printed.

#include "ComparePositions.h"
#include "engine/FastIsa.h"
#include "engine/discsage.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Random positions, every level from LevelFrom to LevelTo at each count of empty squares.
struct TStratum {
    int LevelFrom, LevelTo, EmptiesFrom, EmptiesTo, Positions;
};
constexpr TStratum kStrata[] = {
    {1, 9, 1, 9, 700},  {1, 9, 10, 10, 120}, {1, 9, 11, 11, 50},  {7, 9, 12, 12, 10},
    {1, 6, 12, 17, 60}, {1, 2, 18, 59, 400}, {3, 6, 45, 59, 100}, {3, 6, 18, 44, 12},
    {7, 8, 52, 59, 5},  {9, 9, 57, 59, 3},
};

long g_pairs = 0;
std::vector<std::string> g_failures;

void Check(const TBoard& board, int level) {
    ++g_pairs;
    if (std::string difference = CompareLevel(board, level); !difference.empty()) {
        g_failures.push_back(difference);
    }
}

} // namespace

int main(int argc, char** argv) {
    TFastIsa isa = TFastIsa::Plain;
    if (argc > 1 && !(FastIsaFromName(argv[1], &isa) && FastSelectIsa(isa))) {
        std::fprintf(stderr, "no instruction set build %s runs here\n", argv[1]);
        return 2;
    }
    TRandom random(20261206);
    for (const TStratum& s : kStrata) {
        for (int empties = s.EmptiesFrom; empties <= s.EmptiesTo; ++empties) {
            for (int i = 0; i < s.Positions; ++i) {
                TBoard board;
                if (!PlayoutTo(random, empties, board)) {
                    continue;
                }
                for (int level = s.LevelFrom; level <= s.LevelTo; ++level) {
                    Check(board, level);
                }
            }
        }
    }
    for (const TPassSpot spot : {kMustPass, kAfterPass, kDeadlock}) {
        for (const TBoard& board : PassPositions(random, spot, 2000)) {
            for (int level = 1; level <= 9; ++level) {
                const int empties = board.GetCount(cellEmpty);
                if (empties <= 11 || ChooseDepth(level, empties) <= 5) {
                    Check(board, level);
                }
            }
        }
    }
    std::printf("%ld pairs, %zu different\n", g_pairs, g_failures.size());
    for (size_t i = 0; i < g_failures.size() && i < 10; ++i) {
        std::printf("\n%s", g_failures[i].c_str());
    }
    return g_failures.empty() && g_pairs >= 100000 ? 0 : 1;
}
