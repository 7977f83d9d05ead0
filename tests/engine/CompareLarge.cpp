// The large comparison of the computer player with the reference search: well over 100,000
// position-level pairs, from random games at every number of empty squares and positions around
// passes, at every level wherever the reference search finishes in reasonable time: the shallow
// levels everywhere, the deep ones where they solve the game to the end and in the opening.
//
// Run by hand (it takes minutes): engine_compare_large [plain|popcnt|avx2|avx512]. Exit status 0
// when every pair agrees; otherwise the first differences are printed.

#include "ComparePositions.h"
#include "engine/FastIsa.h"
#include "engine/discsage.h"

#include <cstdio>

int main(int argc, char** argv) {
    TFastIsa isa = TFastIsa::Plain;
    if (argc > 1 && !(FastIsaFromName(argv[1], &isa) && FastSelectIsa(isa))) {
        std::fprintf(stderr, "no instruction set build %s runs here\n", argv[1]);
        return 2;
    }
    // {fewest empty squares, most, random positions for each count}
    const int strata[][3] = {{1, 9, 700}, {10, 11, 100}, {12, 17, 60}, {18, 44, 50}, {45, 59, 100}};
    g_referenceNodeBudget = 1'000'000'000; // the deep levels' solves of 11 empty squares
    TRandom random(20261206);
    std::vector<TBoard> boards;
    for (const auto& stratum : strata) {
        for (int empties = stratum[0]; empties <= stratum[1]; ++empties) {
            for (int i = 0; i < stratum[2]; ++i) {
                if (TBoard board; PlayoutTo(random, empties, board)) {
                    boards.push_back(board);
                }
            }
        }
    }
    for (const TPassSpot spot : {kMustPass, kAfterPass, kDeadlock}) {
        const std::vector<TBoard> found = PassPositions(random, spot, 2000);
        boards.insert(boards.end(), found.begin(), found.end());
    }
    long pairs = 0, failures = 0;
    for (const TBoard& board : boards) {
        const int empties = board.GetCount(cellEmpty);
        for (int level = 1; level <= 9; ++level) {
            const int depth = ChooseDepth(level, empties);
            if (depth <= 5 || empties <= 11 || (depth == 7 && (empties <= 15 || empties >= 52)) ||
                (depth == 9 && empties >= 57)) {
                const std::string difference = CompareLevel(board, level);
                ++pairs;
                if (!difference.empty() && ++failures <= 10) {
                    std::printf("%s\n", difference.c_str());
                }
            }
        }
    }
    std::printf("%ld pairs, %ld different\n", pairs, failures);
    return failures == 0 && pairs >= 100000 ? 0 : 1;
}
