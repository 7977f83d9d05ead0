#include <gtest/gtest.h>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Sound.h"
#include "game/GameAnimation.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

// A two-player game set up and waiting for Black's first move.
class GameSceneTest : public ::testing::Test {
  protected:
    TScreenRig Rig;

    void SetUp() override {
        g_playerType[cellBlack] = playerHuman;
        g_playerType[cellWhite] = playerHuman;
        g_scene = sceneGame;
        g_gameState = gsStart;
        g_cursorX = 3;
        g_cursorY = 3;
        Rig.Frame();
        ASSERT_TRUE(Rig.RunUntilGameState(gsHuman));
        Rig.ClearSounds();
    }

    void MoveCursorTo(int x, int y) {
        while (g_cursorX < x) {
            Rig.Press(keyRight);
        }
        while (g_cursorX > x) {
            Rig.Press(keyLeft);
        }
        while (g_cursorY < y) {
            Rig.Press(keyDown);
        }
        while (g_cursorY > y) {
            Rig.Press(keyUp);
        }
    }

    // Replaces the game in play by `board` at the human's turn, as if it had been reached.
    void UseBoard(const TBoard& board) {
        g_gameBoard = board;
        g_shownBoard = board;
        g_gameState = gsNextTurn;
        Rig.Frame();
        ASSERT_EQ(g_gameState, gsHuman);
        Rig.ClearSounds();
    }

    uint32_t TextColour(const char* text) const {
        const TTextItem* item = Rig.FindText(text);
        return item ? item->Colour : 0xDEADu;
    }
};

// --- Starting a game ---

TEST_F(GameSceneTest, ANewGameShowsTheStartPositionAndGivesBlackTheTurn) {
    for (int i = 0; i < 64; ++i) {
        const bool centre = i == 27 || i == 28 || i == 35 || i == 36;
        EXPECT_EQ(g_pieces[i]->Visible, centre) << i;
    }
    EXPECT_DOUBLE_EQ(g_pieces[27]->Rotation.X.GetValue(), 180.0); // (3, 3) white
    EXPECT_DOUBLE_EQ(g_pieces[28]->Rotation.X.GetValue(), 0.0);   // (4, 3) black
    EXPECT_TRUE(g_pointer->Visible);
    EXPECT_EQ(TextColour("Black"), 0x00FFFFu);
    EXPECT_EQ(TextColour("White"), 0xFFFFFFu);
    ASSERT_NE(Rig.FindText(" 2"), nullptr);
}

TEST_F(GameSceneTest, TheStartPlaysLeadyAndWaitsOneSecond) {
    g_gameState = gsStart;
    Rig.Frame();
    ASSERT_EQ(Rig.Sounds().size(), 1u);
    EXPECT_EQ(Rig.Sounds()[0].Id, sndLeady);
    EXPECT_EQ(Rig.Sounds()[0].DelayMs, 0u);
    EXPECT_EQ(g_gameState, gsWait);
    EXPECT_EQ(g_waitTime, 1000u);
    Rig.Clock.Advance(1000);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait); // more than 1000 ms must pass
    Rig.Clock.Advance(1);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsNextTurn);
}

TEST_F(GameSceneTest, TheCameraFliesToThePlayViewAndThePointerToTheCursor) {
    Rig.Clock.Advance(200);
    Rig.Frame();
    EXPECT_NEAR(g_camera->Eye.X.GetValue(), 765.367, 0.01);
    EXPECT_NEAR(g_camera->Eye.Y.GetValue(), 1847.759, 0.01);
    EXPECT_DOUBLE_EQ(g_camera->Eye.Z.GetValue(), 2000.0);
    EXPECT_DOUBLE_EQ(g_camera->LookAt.X.GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(g_pointer->Position.X.GetValue(), CellToWorld(3));
    EXPECT_DOUBLE_EQ(g_pointer->Position.Y.GetValue(), CellToWorld(3));
    // The light hangs over the pointer at the height the game gave it.
    EXPECT_DOUBLE_EQ(g_lights[1]->Position.X.GetValue(), CellToWorld(3));
    EXPECT_DOUBLE_EQ(g_lights[1]->Position.Z.GetValue(), 200.0);
}

TEST_F(GameSceneTest, TheGameDrawsBoardDiscsAndPointerInOrder) {
    Rig.Frame();
    // Board, four discs, pointer: one scene each.
    EXPECT_EQ(Rig.Log().CountOf(callBeginScene), 6u);
    EXPECT_EQ(Rig.Log().CountOf(callDrawPrimitive), 65u + 4u * 4u + 1u);
}

// --- The cursor ---

TEST_F(GameSceneTest, CursorStepsAlternateTheTwoMoveSounds) {
    g_moveSoundToggle = false;
    Rig.Press(keyRight);
    Rig.Press(keyDown);
    Rig.Press(keyLeft);
    ASSERT_EQ(Rig.Sounds().size(), 3u);
    EXPECT_EQ(Rig.Sounds()[0].Id, sndMove2);
    EXPECT_EQ(Rig.Sounds()[1].Id, sndMove);
    EXPECT_EQ(Rig.Sounds()[2].Id, sndMove2);
    EXPECT_EQ(g_cursorX, 3);
    EXPECT_EQ(g_cursorY, 4);
}

TEST_F(GameSceneTest, AtTheEdgeTheCursorStaysSilentButThePointerGlidesAgain) {
    MoveCursorTo(0, 0);
    Rig.RunFor(200);
    Rig.ClearSounds();
    g_pointer->Position.X.SetValue(123.0); // knocked off its square
    Rig.Press(keyLeft);
    EXPECT_EQ(g_cursorX, 0);
    EXPECT_TRUE(Rig.Sounds().empty());
    Rig.RunFor(100);
    EXPECT_DOUBLE_EQ(g_pointer->Position.X.GetValue(), CellToWorld(0));
}

TEST_F(GameSceneTest, ThePointerGlidesToTheCursorIn100Ms) {
    Rig.RunFor(200);
    Rig.Press(keyRight);
    Rig.Clock.Advance(50);
    Rig.Frame();
    EXPECT_NEAR(g_pointer->Position.X.GetValue(), (CellToWorld(3) + CellToWorld(4)) / 2, 1e-9);
    Rig.Clock.Advance(50);
    Rig.Frame();
    EXPECT_DOUBLE_EQ(g_pointer->Position.X.GetValue(), CellToWorld(4));
}

TEST_F(GameSceneTest, ControlHeldStopsTheCursor) {
    Rig.Frame({keyControl, keyRight});
    EXPECT_EQ(g_cursorX, 3);
    EXPECT_TRUE(Rig.Sounds().empty());
}

TEST_F(GameSceneTest, TheCursorMovesDuringTheAnimation) {
    MoveCursorTo(3, 2);
    Rig.Press(keySpace);
    ASSERT_EQ(g_gameState, gsWait);
    Rig.ClearSounds();
    Rig.Press(keyRight);
    EXPECT_EQ(g_cursorX, 4);
    EXPECT_EQ(Rig.Sounds().size(), 1u);
}

// --- Human moves and passes ---

TEST_F(GameSceneTest, SpaceWhereNoDiscMayGoDoesNothing) {
    Rig.Press(keySpace); // (3, 3) is occupied
    EXPECT_EQ(g_gameState, gsHuman);
    MoveCursorTo(0, 0); // empty but flips nothing
    Rig.Press(keySpace);
    EXPECT_EQ(g_gameState, gsHuman);
    EXPECT_EQ(g_gameBoard.GetCount(cellEmpty), 60);
}

TEST_F(GameSceneTest, EnterWhileAMoveExistsDoesNothing) {
    Rig.Press(keyEnter);
    EXPECT_EQ(g_gameState, gsHuman);
    EXPECT_EQ(g_gameBoard.GetTurn(), cellBlack);
}

TEST_F(GameSceneTest, SpaceOnALegalSquarePlaysAndHidesThePointer) {
    MoveCursorTo(3, 2);
    Rig.Clock.Advance(300);
    Rig.Frame({keySpace});
    EXPECT_EQ(g_gameState, gsAnimate);
    EXPECT_EQ(g_stateTime, Rig.Clock.Now());
    EXPECT_EQ(g_gameBoard.GetCell(3, 2), cellBlack);
    EXPECT_EQ(g_lastMove.x, 3);
    EXPECT_EQ(g_lastMove.y, 2);
    EXPECT_FALSE(g_lastMove.isPass);
    EXPECT_FALSE(g_pointer->Visible);
    EXPECT_DOUBLE_EQ(g_pointer->Rotation.Z.GetValue(), 0.0);
    EXPECT_TRUE(g_pointer->Rotation.Z.Schedule.empty());
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
}

TEST_F(GameSceneTest, TheCountsAndTheSideToMoveChangeOnlyAfterTheAnimation) {
    MoveCursorTo(3, 2);
    Rig.Press(keySpace);
    ASSERT_EQ(g_gameState, gsWait);
    const uint32_t start = g_stateTime;
    Rig.Clock.Set(start + 2200);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    EXPECT_NE(Rig.FindText(" 2"), nullptr);
    EXPECT_EQ(Rig.FindText(" 4"), nullptr);
    EXPECT_EQ(TextColour("Black"), 0x00FFFFu);
    Rig.Clock.Set(start + 2201);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsNextTurn);
    const TTextItem* black = Rig.FindText(" 4");
    const TTextItem* white = Rig.FindText(" 1");
    ASSERT_NE(black, nullptr);
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(black->Left, 220);
    EXPECT_EQ(white->Left, 320);
    EXPECT_EQ(TextColour("Black"), 0xFFFFFFu);
    EXPECT_EQ(TextColour("White"), 0x00FFFFu);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsHuman);
    EXPECT_TRUE(g_pointer->Visible);
}

TEST_F(GameSceneTest, ThePointerSpinsOnceEveryTwoSeconds) {
    const uint32_t start = Rig.Clock.Now();
    Rig.Clock.Set(start + 500);
    EXPECT_NEAR(g_pointer->Rotation.Z.GetValue(), 90.0, 5.0);
    Rig.Clock.Set(start + 2500);
    EXPECT_NEAR(g_pointer->Rotation.Z.GetValue(), 90.0, 5.0);
}

// Black to move with no legal move while White has one: Black on (0, 0), White on (1, 0) and
// (2, 0) cannot be closed by Black, but White can play.
TBoard BlackMustPass() {
    TBoard board;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            board.SetCell(x, y, cellEmpty);
        }
    }
    board.SetCell(0, 0, cellWhite);
    board.SetCell(1, 0, cellBlack);
    board.SetCell(7, 7, cellWhite);
    board.turn = cellBlack;
    return board;
}

TEST_F(GameSceneTest, AHumanWhoCannotMoveSeesTheHintAndPassesWithEnter) {
    TBoard board = BlackMustPass();
    ASSERT_TRUE(board.MustPass());
    UseBoard(board);
    const TTextItem* hint = Rig.FindText("パスは Enter キー");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->Height, 20);
    EXPECT_EQ(hint->Left, 320);
    EXPECT_EQ(hint->Top, 420);
    EXPECT_EQ(hint->Face, "ＭＳ Ｐゴシック");
    Rig.Press(keySpace);
    EXPECT_EQ(g_gameState, gsHuman);
    Rig.Press(keyEnter);
    EXPECT_EQ(g_gameState, gsWait);
    EXPECT_TRUE(g_lastMove.isPass);
    EXPECT_EQ(g_gameBoard.GetTurn(), cellWhite);
    EXPECT_EQ(g_waitTime, 1000u);
    EXPECT_FALSE(g_pointer->Visible);
    EXPECT_EQ(Rig.FindText("パスは Enter キー"), nullptr);
    EXPECT_TRUE(Rig.Sounds().empty()); // a pass has no animation and no sound
}

TEST_F(GameSceneTest, ThePassBannerShowsForTheOneSecondWait) {
    UseBoard(BlackMustPass());
    Rig.Frame({keyEnter});
    Rig.Frame();
    const uint32_t start = g_stateTime;
    const TTextItem* banner = Rig.FindText("Black Pass");
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->Height, 56);
    EXPECT_EQ(banner->Top, 208);
    EXPECT_EQ(TextColour("Black"), 0x00FFFFu); // the shown side is still the one that passed
    Rig.Clock.Set(start + 1000);
    Rig.Frame();
    EXPECT_NE(Rig.FindText("Black Pass"), nullptr);
    Rig.Clock.Set(start + 1001);
    Rig.Frame();
    EXPECT_EQ(Rig.FindText("Black Pass"), nullptr);
    EXPECT_EQ(TextColour("White"), 0x00FFFFu);
}

TEST_F(GameSceneTest, AComputerThatCannotMovePassesByItselfWithTheBanner) {
    g_playerType[cellBlack] = playerComputer;
    g_gameBoard = BlackMustPass();
    g_shownBoard = g_gameBoard;
    g_gameState = gsNextTurn;
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsComputer);
    EXPECT_TRUE(g_lastMove.ready);
    EXPECT_TRUE(g_lastMove.isPass);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsAnimate);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    EXPECT_NE(Rig.FindText("Black Pass"), nullptr);
    EXPECT_EQ(g_gameBoard.GetTurn(), cellWhite);
}

TEST_F(GameSceneTest, TheComputerAnswersInTheNextFrame) {
    g_playerType[cellBlack] = playerComputer;
    g_sage.SetLevel(1);
    g_gameState = gsNextTurn;
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsComputer);
    EXPECT_EQ(g_gameBoard.GetCount(cellEmpty), 60); // found, not yet played
    EXPECT_EQ(g_lastMove.x, 3);
    EXPECT_EQ(g_lastMove.y, 2);
    Rig.Frame();
    EXPECT_EQ(g_gameBoard.GetCell(3, 2), cellBlack);
    EXPECT_EQ(g_gameState, gsAnimate);
}

// --- The end of a game ---

TBoard Finished(int black, int white) {
    TBoard board;
    int placed = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x, ++placed) {
            board.SetCell(x, y,
                          placed < black           ? cellBlack
                          : placed < black + white ? cellWhite
                                                   : cellEmpty);
        }
    }
    board.passes = 2;
    return board;
}

struct TResultCase {
    int BlackPlayer, WhitePlayer, Black, White;
    const char* Text;
    int Sound;
};

TEST_F(GameSceneTest, EveryEndShowsItsResultAndSound) {
    const TResultCase cases[] = {
        {playerHuman, playerComputer, 40, 24, "You Win!", sndWin},
        {playerHuman, playerComputer, 20, 44, "You Lose!", sndLose},
        {playerHuman, playerComputer, 32, 32, "Draw!", sndWin},
        {playerComputer, playerHuman, 10, 54, "You Win!", sndWin},
        {playerComputer, playerHuman, 54, 10, "You Lose!", sndLose},
        {playerComputer, playerHuman, 30, 30, "Draw!", sndWin},
        {playerHuman, playerHuman, 33, 31, "Black Win!", sndWin},
        {playerHuman, playerHuman, 13, 0, "Black Win!", sndWin},
        {playerHuman, playerHuman, 1, 63, "White Win!", sndWin},
        {playerHuman, playerHuman, 32, 32, "Draw!", sndWin},
    };
    for (const TResultCase& c : cases) {
        g_playerType[cellBlack] = c.BlackPlayer;
        g_playerType[cellWhite] = c.WhitePlayer;
        g_gameBoard = Finished(c.Black, c.White);
        g_shownBoard = g_gameBoard;
        g_gameState = gsNextTurn;
        Rig.ClearSounds();
        Rig.Frame();
        EXPECT_EQ(g_gameState, gsResult);
        ASSERT_EQ(Rig.Sounds().size(), 1u) << c.Text;
        EXPECT_EQ(Rig.Sounds()[0].Id, c.Sound) << c.Text;
        EXPECT_EQ(Rig.Sounds()[0].DelayMs, 0u);
        const TTextItem* banner = Rig.FindText(c.Text);
        ASSERT_NE(banner, nullptr) << c.Text;
        EXPECT_EQ(banner->Top, 208);
        EXPECT_EQ(TextColour("Black"), 0xFFFFFFu);
        EXPECT_EQ(TextColour("White"), 0xFFFFFFu);
    }
}

TEST_F(GameSceneTest, SpaceOnTheResultReturnsToTheTitle) {
    g_gameBoard = Finished(40, 24);
    g_shownBoard = g_gameBoard;
    g_gameState = gsNextTurn;
    Rig.Frame();
    Rig.Press(keyEnter);
    Rig.Press(keyRight); // the cursor still moves here
    EXPECT_EQ(g_gameState, gsResult);
    EXPECT_EQ(g_cursorX, 4);
    Rig.Clock.Advance(10);
    Rig.Frame({keySpace});
    EXPECT_EQ(g_scene, sceneTitle);
    EXPECT_EQ(g_titleState, tsInit);
    EXPECT_EQ(g_stateTime, Rig.Clock.Now());
    Rig.Frame();
    EXPECT_EQ(g_titleState, tsTitle);
}

TEST_F(GameSceneTest, TheCursorIsKeptFromOneGameToTheNext) {
    MoveCursorTo(5, 6);
    g_gameState = gsStart;
    Rig.Frame();
    EXPECT_EQ(g_cursorX, 5);
    EXPECT_EQ(g_cursorY, 6);
}

} // namespace
