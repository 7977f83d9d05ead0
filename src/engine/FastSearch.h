#pragma once

#include "engine/FastBoard.h"

#include <cstdint>

// The fast search: an exact alpha-beta search that finds the same root value and the same move
// as the plain fixed-depth minimax of the computer player, in a small fraction of the nodes.
//
// Values are seen from Black's side, as in the plain search. The depth counts real moves; a pass
// uses none. A finished game scores 100 per disc of difference and a leaf at depth 0 the position
// evaluation. Among equally good moves the first in scan order (lowest y, then lowest x) is
// chosen. Nothing is allocated per node: the transposition table is made once, on first use.

// One position to search, as Black's and White's discs, the side to move and the passes made in
// a row before it.
struct TFastPosition {
    TBitboard Black = kFastInitialBlack;
    TBitboard White = kFastInitialWhite;
    bool BlackToMove = true;
    int Passes = 0;
};

constexpr int kFastNoMove = -1; // the root itself is a leaf: the game is over, or depth is 0
constexpr int kFastPass = -2;   // the side to move has no legal move

struct TFastAnswer {
    int X = kFastNoMove; // column of the chosen move, or kFastNoMove, or kFastPass
    int Y = kFastNoMove; // its row, or the same marker
    int Value = 0;       // the root's exact minimax value, from Black's side
};

TFastAnswer FastSearch(const TFastPosition& position, int depth);

// Forgets every position the transposition table holds, so that the next search starts as
// the first one of the program does; answers never depend on it, only the time they take.
void FastSearchForget();

// Nodes visited by the fast search since the program started; for benchmarks and tests.
std::uint64_t FastSearchNodes();
