#include "engine/Reversiutil.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Leaf count of the move tree: a pass uses no ply, and a finished game is one leaf however
// much depth is left.
uint64_t Perft(const TBoard& board, int depth) {
    if (depth == 0 || board.IsGameOver()) {
        return 1;
    }
    uint64_t leaves = 0;
    bool moved = false;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            TBoard child = board;
            if (child.Place(x, y)) {
                moved = true;
                leaves += Perft(child, depth - 1);
            }
        }
    }
    if (!moved) {
        TBoard child = board;
        if (!child.Pass()) {
            ADD_FAILURE() << "a side without moves could not pass";
            return 0;
        }
        return Perft(child, depth);
    }
    return leaves;
}

} // namespace

TEST(Perft, MatchesTheKnownLeafCountsToDepthEight) {
    const uint64_t expected[] = {4, 12, 56, 244, 1396, 8200, 55092, 390216};
    const TBoard start;
    for (int depth = 1; depth <= 8; ++depth) {
        EXPECT_EQ(Perft(start, depth), expected[depth - 1]) << "depth " << depth;
    }
}

TEST(Perft, APassUsesNoPlyAndAFinishedGameIsOneLeaf) {
    // Black must pass; White then has exactly one move, which ends the game by taking
    // Black's last disc.
    TBoard board;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            board.SetCell(x, y, cellEmpty);
        }
    }
    board.SetCell(0, 0, cellWhite);
    board.SetCell(1, 0, cellBlack);
    ASSERT_TRUE(board.MustPass());
    EXPECT_EQ(Perft(board, 1), 1u);
    EXPECT_EQ(Perft(board, 5), 1u);

    TBoard after = board;
    ASSERT_TRUE(after.Pass());
    ASSERT_TRUE(after.Place(2, 0));
    EXPECT_TRUE(after.IsGameOver());
    EXPECT_EQ(after.GetCount(cellBlack), 0);
}
