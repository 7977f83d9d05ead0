#pragma once

#include <cstdint>

// Bitboard form of a position for the fast search. A square (x, y) is bit y * 8 + x, so that
// ascending bit order is the scan order the search's tie-break uses (lowest y, then lowest x).
// Positions are seen from the side to move: `own` holds its discs, `opp` the other side's.
using TBitboard = std::uint64_t;

constexpr int kFastSquareCount = 64;
constexpr TBitboard kFastInitialBlack =
    (TBitboard{1} << (3 * 8 + 4)) | (TBitboard{1} << (4 * 8 + 3));
constexpr TBitboard kFastInitialWhite =
    (TBitboard{1} << (3 * 8 + 3)) | (TBitboard{1} << (4 * 8 + 4));

constexpr int FastSquare(int x, int y) {
    return y * 8 + x;
}
constexpr TBitboard FastBit(int square) {
    return TBitboard{1} << square;
}

// A finished game, by the rules of the board: no empty square left, a colour with no disc left,
// or two passes in a row.
constexpr bool FastIsOver(TBitboard own, TBitboard opp, int passes) {
    return passes >= 2 || own == 0 || opp == 0 || (own | opp) == ~TBitboard{0};
}

// The functions below run on the instruction set chosen in FastIsa.h; every choice gives the
// same results.

// Number of set bits.
int FastCount(TBitboard bits);

// Every square where the side owning `own` may play: empty, and closing at least one run of
// `opp` discs with a disc of its own in some direction.
TBitboard FastMoves(TBitboard own, TBitboard opp);

// The discs of `opp` that a move on `square` turns over; empty when the move is not legal.
TBitboard FastFlips(int square, TBitboard own, TBitboard opp);

// The discs each legal move of the side owning `own` turns over, by square, as the search lists
// them; the entries of other squares are left as they are.
void FastFlipsOfMoves(TBitboard own, TBitboard opp, TBitboard flips[kFastSquareCount]);

// Leaf count of the game tree `depth` moves deep. A pass uses no depth and a finished game is
// one leaf wherever it ends.
std::uint64_t FastPerft(TBitboard own, TBitboard opp, int depth, int passes);
