#pragma once

// The solver's guess at the final disc difference, which orders its moves: the moves of each
// side, the discs, the levels' evaluation and patterns of squares, each pattern (an edge, a
// corner region, a line) read as a number in base three (empty 0, the side to move 1, the other
// side 2) whose weight was fitted to the exact scores of positions near the end of the game.
// Compiled once per instruction set, like every fast kernel.

#include "engine/EndgameWeights.h"
#include "engine/FastEval.h"
#include "engine/FastKernels.h"

#include <cstdint>
#include <initializer_list>

namespace OCTAVANE_FAST_ISA {

// The board turned over top to bottom: (x, y) to (x, 7 - y).
[[gnu::always_inline]] inline TBitboard FlipVertical(TBitboard bits) {
    return __builtin_bswap64(bits);
}

// Left to right: (x, y) to (7 - x, y).
[[gnu::always_inline]] inline TBitboard FlipHorizontal(TBitboard bits) {
    bits = ((bits >> 1) & 0x5555555555555555ULL) | ((bits & 0x5555555555555555ULL) << 1);
    bits = ((bits >> 2) & 0x3333333333333333ULL) | ((bits & 0x3333333333333333ULL) << 2);
    return ((bits >> 4) & 0x0F0F0F0F0F0F0F0FULL) | ((bits & 0x0F0F0F0F0F0F0F0FULL) << 4);
}

// About the a1-h8 diagonal: (x, y) to (y, x), by swapping the off-diagonal blocks of 4, 2 and 1.
[[gnu::always_inline]] inline TBitboard Transpose(TBitboard bits) {
    TBitboard swap = 0x0F0F0F0F00000000ULL & (bits ^ (bits << 28));
    bits ^= swap ^ (swap >> 28);
    swap = 0x3333000033330000ULL & (bits ^ (bits << 14));
    bits ^= swap ^ (swap >> 14);
    swap = 0x5500550055005500ULL & (bits ^ (bits << 7));
    return bits ^ swap ^ (swap >> 7);
}

// The squares of each pattern, as bits gathered from a board in one of its eight symmetries:
// each pattern lies at the a1 corner, on the first two rows or along the a1-h8 diagonal. The
// squares go to bits in scan order.
namespace Patterns {
// a1..h1 with b2 and g2.
[[gnu::always_inline]] inline unsigned EdgeX(TBitboard b) {
    return static_cast<unsigned>((b & 0xFF) | ((b >> 1) & 0x100) | ((b >> 5) & 0x200));
}
// a1..c3.
[[gnu::always_inline]] inline unsigned Corner3(TBitboard b) {
    return static_cast<unsigned>((b & 7) | ((b >> 5) & 0x38) | ((b >> 10) & 0x1C0));
}
// a1..e2.
[[gnu::always_inline]] inline unsigned Corner5(TBitboard b) {
    return static_cast<unsigned>((b & 0x1F) | ((b >> 3) & 0x3E0));
}
// a2..h2.
[[gnu::always_inline]] inline unsigned SecondRow(TBitboard b) {
    return static_cast<unsigned>((b >> 8) & 0xFF);
}
// The diagonal `shift` columns right of a1-h8 (a1..h8 itself at 0, b1..h7 at 1), gathered by
// the multiply that adds the rows, whose bits never share a column.
[[gnu::always_inline]] inline unsigned Diagonal(TBitboard b, int shift) {
    const TBitboard mask =
        (0x8040201008040201ULL << shift) & ~(0x0101010101010101ULL * ((1u << shift) - 1));
    return static_cast<unsigned>(((b & mask) * 0x0101010101010101ULL) >> (56 + shift));
}
} // namespace Patterns

// Binary to base three: each set bit k of the index becomes 3^k.
struct TTernary {
    std::uint16_t Of[1024];
};

constexpr TTernary MakeTernary() {
    TTernary ternary{};
    for (int bits = 0; bits < 1024; ++bits) {
        int value = 0;
        for (int bit = 9, place = 19683; bit >= 0; --bit, place /= 3) {
            value += (bits >> bit & 1) * place;
        }
        ternary.Of[bits] = static_cast<std::uint16_t>(value);
    }
    return ternary;
}

inline constexpr TTernary kTernary = MakeTernary();

[[gnu::always_inline]] inline int Ternary(unsigned own, unsigned opp) {
    return kTernary.Of[own] + 2 * kTernary.Of[opp];
}

// The board and its seven other symmetries, as read by the patterns: 0 as it is, 1 turned top to
// bottom, 2 left to right, 3 both; 4 to 7 the same after a turn about the a1-h8 diagonal.
struct TSymmetries {
    TBitboard Own[8];
    TBitboard Opp[8];
};

[[gnu::always_inline]] inline void MakeSymmetries(TBitboard own, TBitboard opp,
                                                  TSymmetries& boards) {
    boards.Own[0] = own;
    boards.Opp[0] = opp;
    boards.Own[4] = Transpose(own);
    boards.Opp[4] = Transpose(opp);
    for (int turned = 0; turned <= 4; turned += 4) {
        boards.Own[turned + 1] = FlipVertical(boards.Own[turned]);
        boards.Opp[turned + 1] = FlipVertical(boards.Opp[turned]);
        boards.Own[turned + 2] = FlipHorizontal(boards.Own[turned]);
        boards.Opp[turned + 2] = FlipHorizontal(boards.Opp[turned]);
        boards.Own[turned + 3] = FlipVertical(boards.Own[turned + 2]);
        boards.Opp[turned + 3] = FlipVertical(boards.Opp[turned + 2]);
    }
}

// Calls `use` with the weight-table index of each of the 26 patterns of a position, in the order
// of the weight file: the four edges, the four 3x3 corners, the eight 5x2 corners, the four
// second rows, the two long diagonals and the four diagonals beside them. Each pattern is read
// on the symmetries that bring each of its placings on the board to where it lies, each placing
// once.
template <class TUse>
[[gnu::always_inline]] inline void ForEachPattern(TBitboard own, TBitboard opp, const TUse& use) {
    using namespace Patterns;
    TSymmetries b;
    MakeSymmetries(own, opp, b);
    // The edges and the rows next to them: the board as it is, turned top to bottom, and both
    // of those turned about the diagonal. The corners and the diagonals beside the long ones:
    // the four turns top to bottom and left to right.
    for (const int k : {0, 1, 4, 5}) {
        use(kEdgeXWeights + Ternary(EdgeX(b.Own[k]), EdgeX(b.Opp[k])));
    }
    for (const int k : {0, 1, 2, 3}) {
        use(kCorner3Weights + Ternary(Corner3(b.Own[k]), Corner3(b.Opp[k])));
    }
    // The corners' two rows of five, both ways along each edge: all eight symmetries.
    for (int k = 0; k < 8; ++k) {
        use(kCorner5Weights + Ternary(Corner5(b.Own[k]), Corner5(b.Opp[k])));
    }
    for (const int k : {0, 1, 4, 5}) {
        use(kSecondRowWeights + Ternary(SecondRow(b.Own[k]), SecondRow(b.Opp[k])));
    }
    for (const int k : {0, 1}) {
        use(kDiagonal8Weights + Ternary(Diagonal(b.Own[k], 0), Diagonal(b.Opp[k], 0)));
    }
    for (const int k : {0, 1, 2, 3}) {
        use(kDiagonal7Weights + Ternary(Diagonal(b.Own[k], 1), Diagonal(b.Opp[k], 1)));
    }
}

// The sum of the pattern weights of a position, in eighths of a disc of the final difference
// for the side to move.
[[gnu::always_inline]] inline int PatternGuess(TBitboard own, TBitboard opp) {
    int sum = 0;
    ForEachPattern(
        own, opp, [&sum](int index) { sum += static_cast<std::int16_t>(g_endgameWeights[index]); });
    return sum;
}

// The guess's weights, in eighths of a disc of the final difference: for each move of each side
// (a corner among them counting extra), each disc more than the other side, the levels'
// evaluation (in 64ths) and, in the weight file, each pattern. All are one least-squares fit,
// damped, to the exact scores of 123,850 positions at 12 to 20 empty squares from self-play
// games of levels 3 to 9 with a few random moves (bench/enginefast/guess_data, tools/fit-guess);
// a pattern's weights are one for the readings that a symmetry of the pattern exchanges. On
// 2,835 positions from other games the guess misses by 8.9 discs (root mean square), against
// 12.9 for the moves, discs and evaluation alone.
constexpr int kGuessMove = 17;
constexpr int kGuessCornerMove = 49;
constexpr int kGuessReply = -12;
constexpr int kGuessCornerReply = -41;
constexpr int kGuessDisc = -9;
constexpr int kGuessEvaluationShare = 12;

// A quick guess at the final disc difference for the side to move, in eighths of a disc, given
// the moves of that side.
[[gnu::always_inline]] inline int EndgameGuess(TBitboard own, TBitboard opp, TBitboard moves) {
    const TBitboard replies = Moves(opp, own);
    return kGuessMove * Count(moves) + kGuessCornerMove * Count(moves & kCorners) +
           kGuessReply * Count(replies) + kGuessCornerReply * Count(replies & kCorners) +
           kGuessDisc * (Count(own) - Count(opp)) + PatternGuess(own, opp) +
           FastEvaluate(own, opp) * kGuessEvaluationShare / 64;
}

[[gnu::always_inline]] inline int EndgameGuess(TBitboard own, TBitboard opp) {
    return EndgameGuess(own, opp, Moves(own, opp));
}

} // namespace OCTAVANE_FAST_ISA
