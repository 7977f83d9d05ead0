#include "ScreenRig.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

class GameSceneTest : public ::testing::Test {
  protected:
    void SetUp() override { Rig.StartGame(playerHuman, playerHuman); }
    TScreenRig Rig;
};

// Space or a click plays only where a disc turns something, and knocks elsewhere; Enter passes
// only when no move exists (the pass itself is played in the touch controls' game).
TEST_F(GameSceneTest, SpacePlaysALegalMoveAndEnterPassesOnlyWhenStuck) {
    Rig.Press(keySpace);   // (3, 3) is taken
    Rig.Press(keyEnter);   // a move exists
    Rig.Press(keyLeft, 5); // to (0, 3): the cursor stops at the edge
    Rig.Press(keySpace);   // turns nothing
    Rig.Mouse(ScreenPointOfSquare(0, 3), true);
    EXPECT_EQ(Rig.Knocks(), 3);
    EXPECT_TRUE(g_gameState == gsHuman && SameBoard(g_gameBoard, TBoard()) &&
                GameHistorySize() == 0);
    Rig.Press(keyRight, 3);
    Rig.Press(keyUp);
    Rig.Frame({keySpace});
    EXPECT_TRUE(g_gameState == gsAnimate && g_gameBoard.GetCell(3, 2) == cellBlack);
}

// Every end shows its result and plays its sound.
TEST_F(GameSceneTest, EveryEndShowsItsResultAndSound) {
    const std::tuple<int, int, int, int, const char*, int> rows[] = {
        {playerHuman, playerComputer, 32, 32, "Draw!", sndWin},
        {playerComputer, playerHuman, 10, 54, "You Win!", sndWin},
        {playerHuman, playerHuman, 1, 63, "White Win!", sndWin},
        {playerHuman, playerHuman, 40, 20, "Black Win!", sndWin},
        {playerHuman, playerComputer, 20, 40, "You Lose!", sndLose},
    };
    for (const auto& [blackPlayer, whitePlayer, black, white, text, sound] : rows) {
        SCOPED_TRACE(text);
        g_playerType[cellBlack] = blackPlayer;
        g_playerType[cellWhite] = whitePlayer;
        TBoard board = BoardOf({}, 2);
        for (int i = 0; i < black + white; ++i) {
            board.SetCell(i % 8, i / 8, i < black ? cellBlack : cellWhite);
        }
        Rig.ShowBoard(board);
        EXPECT_TRUE(g_gameState == gsResult && Rig.FindText(text) && Rig.Sounds.size() == 1 &&
                    Rig.Sounds[0].first == sound);
    }
}

} // namespace
