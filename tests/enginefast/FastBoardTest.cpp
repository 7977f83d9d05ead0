#include "engine/FastBoard.h"
#include "ComparePositions.h"
#include "engine/FastBridge.h"

#include <gtest/gtest.h>

namespace {

TBitboard Own(const TFastPosition& p) {
    return p.BlackToMove ? p.Black : p.White;
}
TBitboard Opp(const TFastPosition& p) {
    return p.BlackToMove ? p.White : p.Black;
}

std::uint64_t PerftFromStart(int depth) {
    return FastPerft(kFastInitialBlack, kFastInitialWhite, depth, 0);
}

TEST(FastPerft, CountsLeavesOfTheOpeningTree) {
    const std::uint64_t expected[] = {1, 4, 12, 56, 244, 1396, 8200, 55092, 390216, 3005320};
    for (int depth = 0; depth <= 9; ++depth) {
        EXPECT_EQ(PerftFromStart(depth), expected[depth]) << "depth " << depth;
    }
}

TEST(FastPerft, DepthTenMatchesTheKnownCount) {
    EXPECT_EQ(PerftFromStart(10), 24571420u);
}

TEST(FastPerft, FinishedGameIsOneLeafAndPassUsesNoDepth) {
    // White has no disc left: over at once, whatever depth is asked.
    EXPECT_EQ(FastPerft(0x0000001818000000ULL, 0, 5, 0), 1u);
    // Black to move cannot move (a lone white disc in the corner is unreachable for the
    // black disc beside it), so Black passes without using depth; White cannot move either, so
    // the second pass finishes the game: one leaf.
    EXPECT_EQ(FastPerft(FastBit(FastSquare(1, 0)), FastBit(FastSquare(0, 0)), 3, 0), 1u);
    // Two passes already made: over.
    EXPECT_EQ(FastPerft(kFastInitialBlack, kFastInitialWhite, 3, 2), 1u);
}

// Every legal move and every flip of the bitboard rules matches the board's own rules, on
// positions from random games at every stage.
TEST(FastRules, MovesAndFlipsAgreeWithTheBoardAlongRandomGames) {
    TRandom random(7);
    for (int game = 0; game < 200; ++game) {
        TBoard board;
        do {
            const TFastPosition position = ToFastPosition(board);
            const TBitboard moves = FastMoves(Own(position), Opp(position));
            for (int square = 0; square < 64; ++square) {
                const int x = square % 8;
                const int y = square / 8;
                ASSERT_EQ((moves & FastBit(square)) != 0, board.CanPlace(x, y))
                    << "square " << x << "," << y << "\n"
                    << BoardText(board);
                if (!board.CanPlace(x, y)) {
                    EXPECT_EQ(FastFlips(square, Own(position), Opp(position)), 0u);
                    continue;
                }
                TBoard played = board;
                played.Place(x, y);
                const TBitboard flips = FastFlips(square, Own(position), Opp(position));
                const TFastPosition after = ToFastPosition(played);
                ASSERT_EQ(Opp(after), Own(position) | flips | FastBit(square)) << BoardText(board);
                ASSERT_EQ(Own(after), Opp(position) & ~flips) << BoardText(board);
            }
        } while (PlayRandomMove(random, board));
    }
}

// The search lists the moves of a position with their flips several at a time; each must be
// what the move alone turns, whatever the number of moves and wherever they lie.
TEST(FastRules, ListedFlipsMatchEachMoveAlone) {
    TRandom random(11);
    auto check = [](TBitboard own, TBitboard opp) {
        TBitboard listed[kFastSquareCount];
        for (TBitboard& flips : listed) {
            flips = ~TBitboard{0};
        }
        FastFlipsOfMoves(own, opp, listed);
        const TBitboard moves = FastMoves(own, opp);
        for (int square = 0; square < kFastSquareCount; ++square) {
            const TBitboard expected =
                (moves & FastBit(square)) != 0 ? FastFlips(square, own, opp) : ~TBitboard{0};
            ASSERT_EQ(listed[square], expected)
                << "square " << square << " own " << own << " opp " << opp;
        }
    };
    for (int game = 0; game < 100; ++game) {
        TBoard board;
        do {
            const TFastPosition position = ToFastPosition(board);
            check(Own(position), Opp(position));
        } while (PlayRandomMove(random, board));
    }
    for (int trial = 0; trial < 20000; ++trial) {
        const TScattering scattering = ScatterDiscs(random);
        check(scattering.Own, scattering.Opp);
    }
}

TEST(FastRules, GameOverFollowsTheBoard) {
    TRandom random(11);
    for (int game = 0; game < 100; ++game) {
        TBoard board;
        do {
            const TFastPosition position = ToFastPosition(board);
            ASSERT_EQ(FastIsOver(Own(position), Opp(position), board.passes), board.IsGameOver())
                << BoardText(board);
        } while (PlayRandomMove(random, board));
        EXPECT_TRUE(board.IsGameOver());
    }
}

} // namespace
