#include "ScreenRig.h"

namespace {

// Against the computer, one take-back goes back over the computer's moves and a forced pass of
// the human's to the human's last real move; redo then gives the positions back in play order.
TEST(GameHistoryTest, TakenBackPositionsComeBackInPlayOrder) {
    const int players[3] = {0, playerHuman, playerComputer};
    const TBoard before; // Black, the human, to move
    TBoard reply = before;
    ASSERT_TRUE(reply.Place(3, 2));
    const TBoard stuck = BoardOf({{0, 0, cellWhite}, {1, 0, cellBlack}, {7, 7, cellWhite}});
    TBoard passed = stuck;
    passed.turn = cellWhite;
    const TBoard now = BoardOf({{0, 0, cellWhite}, {1, 0, cellWhite}, {2, 0, cellWhite}});
    ClearGameHistory();
    for (const TBoard& position : {before, reply, stuck, passed}) {
        RecordGamePosition(position);
    }
    TBoard restored;
    ASSERT_TRUE(TakeBackMove(now, players, restored));
    EXPECT_TRUE(SameBoard(restored, before) && GameHistorySize() == 0);
    for (const TBoard& position : {reply, stuck, passed, now}) {
        ASSERT_TRUE(TakeRedoPosition(restored));
        EXPECT_TRUE(SameBoard(restored, position));
    }
    EXPECT_FALSE(HasRedo());
    ClearGameHistory();
}

} // namespace
