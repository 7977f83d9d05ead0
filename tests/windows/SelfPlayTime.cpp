// The level-9 (Extreme+) self-play game from the initial position, timed whole, on each
// instruction-set build of the fast engine this program carries: the figure to set the
// Windows build under Wine beside the native one (bench/engine's SelfPlay plays the same game).
//
//   windows_selfplay [LEVEL]      prints one line per instruction set: ms, moves, discs
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "engine/FastIsa.h"
#include "engine/discsage.h"

int main(int argc, char** argv) {
    const int level = argc > 1 ? std::atoi(argv[1]) : 9;
    for (const TFastIsa isa :
         {TFastIsa::Plain, TFastIsa::Popcnt, TFastIsa::Avx2, TFastIsa::Avx512}) {
        if (!FastSelectIsa(isa)) {
            std::printf("%-7s not available\n", FastIsaName(isa));
            continue;
        }
        TSage sage;
        sage.SetLevel(level);
        TBoard board;
        int moves = 0;
        const auto start = std::chrono::steady_clock::now();
        while (!board.IsGameOver()) {
            int x = -1;
            int y = -1;
            if (sage.Think(board, &x, &y)) {
                board.Place(x, y);
                ++moves;
            } else {
                board.Pass();
            }
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        std::printf("%-7s level %d: %.0f ms, %d moves, %d-%d\n", FastIsaName(isa), level,
                    took.count(), moves, board.GetCount(cellBlack), board.GetCount(cellWhite));
        std::fflush(stdout);
    }
    return 0;
}
