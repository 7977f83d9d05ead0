#include "ScreenRig.h"

// The game history and its redo line on their own, with positions made to order.

namespace {

// Against the computer, one take-back goes back over the computer's moves and a forced pass of
// the human's to the human's last real move; the redo line then gives the positions back in the
// order they were played, and a second take-back puts its positions in front of them.
TEST(GameHistoryTest, TakenBackPositionsComeBackInPlayOrder) {
    const int players[3] = {0, playerHuman, playerComputer};
    TBoard positions[6];
    ASSERT_TRUE(positions[0].Place(3, 2)); // White (the computer) to move
    positions[1] = positions[0];
    ASSERT_TRUE(positions[1].Place(2, 2)); // Black to move, with moves
    positions[2] = positions[1];
    ASSERT_TRUE(positions[2].Place(2, 3)); // White to move
    positions[3] =
        BoardOf({{0, 0, cellWhite}, {1, 0, cellBlack}, {7, 7, cellWhite}}); // Black stuck
    positions[4] = positions[3];
    positions[4].turn = cellWhite; // after Black's pass
    positions[5] = BoardOf({{0, 0, cellWhite}, {1, 0, cellWhite}, {2, 0, cellWhite}});
    const TBoard start;
    ClearGameHistory();
    RecordGamePosition(start);
    for (int i = 0; i < 5; ++i) {
        RecordGamePosition(positions[i]);
    }
    TBoard restored;
    ASSERT_TRUE(TakeBackMove(positions[5], players, restored));
    EXPECT_TRUE(SameBoard(restored, positions[1]));
    EXPECT_EQ(GameHistorySize(), 2u);
    ASSERT_TRUE(TakeBackMove(positions[1], players, restored));
    EXPECT_TRUE(SameBoard(restored, start));
    EXPECT_EQ(GameHistorySize(), 0u);
    TBoard after;
    EXPECT_FALSE(TakeBackMove(start, players, after));
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(TakeRedoPosition(after)) << i;
        EXPECT_TRUE(SameBoard(after, positions[i])) << i;
    }
    EXPECT_FALSE(HasRedo() || TakeRedoPosition(after));
    ClearGameHistory();
}

} // namespace
