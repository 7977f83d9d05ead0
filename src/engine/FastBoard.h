#pragma once

#include <bit>
#include <cstdint>

// Bitboard form of a position for the fast search. A square (x, y) is bit y * 8 + x, so that
// ascending bit order is the scan order the search's tie-break uses (lowest y, then lowest x).
// Positions are seen from the side to move: `own` holds its discs, `opp` the other side's.
using TBitboard = std::uint64_t;

constexpr int fastSquareCount = 64;
constexpr TBitboard fastInitialBlack =
    (TBitboard{1} << (3 * 8 + 4)) | (TBitboard{1} << (4 * 8 + 3));
constexpr TBitboard fastInitialWhite =
    (TBitboard{1} << (3 * 8 + 3)) | (TBitboard{1} << (4 * 8 + 4));

constexpr int FastSquare(int x, int y) {
    return y * 8 + x;
}
constexpr TBitboard FastBit(int square) {
    return TBitboard{1} << square;
}
// Number of set bits. Spelt out because std::popcount on a generic x86-64 target becomes a
// library call that costs more than this arithmetic; the byte sums are added by shifts because
// the compiler turns the usual multiply form back into that same call.
constexpr int FastCount(TBitboard bits) {
#if defined(__POPCNT__)
    return std::popcount(bits);
#else
    bits -= (bits >> 1) & 0x5555555555555555ULL;
    bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    bits += bits >> 8;
    bits += bits >> 16;
    bits += bits >> 32;
    return static_cast<int>(bits & 0x7F);
#endif
}

// Every square where the side owning `own` may play: empty, and closing at least one run of
// `opp` discs with a disc of its own in some direction.
TBitboard FastMoves(TBitboard own, TBitboard opp);

// The discs of `opp` that a move on `square` turns over; empty when the move is not legal.
TBitboard FastFlips(int square, TBitboard own, TBitboard opp);

// A finished game, by the rules of the board: no empty square left, a colour with no disc left,
// or two passes in a row.
constexpr bool FastIsOver(TBitboard own, TBitboard opp, int passes) {
    return passes >= 2 || own == 0 || opp == 0 || (own | opp) == ~TBitboard{0};
}

// Leaf count of the game tree `depth` moves deep. A pass uses no depth and a finished game is
// one leaf wherever it ends.
std::uint64_t FastPerft(TBitboard own, TBitboard opp, int depth, int passes);
