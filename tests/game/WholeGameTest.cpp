#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Sound.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TitleScreens.h"

namespace {

// Whole games played through the keyboard, from the title to the result. The human's moves are
// chosen by a separate computer player of a given level, so each game is one that the engine
// alone can replay.
class WholeGameTest : public ::testing::Test {
  protected:
    TScreenRig Rig;
    std::vector<std::pair<int, int>> Moves; // every move played, (-1, -1) for a pass

    // From the title to the first frame of the game.
    void StartFromMenu(int menuLine, int levelCursor) {
        g_scene = sceneTitle;
        g_titleState = tsInit;
        Rig.Frame();
        Rig.Press(keySpace);
        Rig.Press(keyDown, menuLine);
        if (menuLine < 2) {
            Rig.Press(keySpace);
            for (int c = kLevelCursorOpen; c > levelCursor; --c) {
                Rig.Press(keyUp);
            }
            for (int c = kLevelCursorOpen; c < levelCursor; ++c) {
                Rig.Press(keyDown);
            }
        }
        Rig.Frame({keySpace});
        ASSERT_EQ(g_scene, sceneGame);
        ASSERT_EQ(g_gameState, gsStart);
    }

    void MoveCursorTo(int x, int y) {
        while (g_cursorX != x) {
            Rig.Press(g_cursorX < x ? keyRight : keyLeft);
        }
        while (g_cursorY != y) {
            Rig.Press(g_cursorY < y ? keyDown : keyUp);
        }
    }

    // Plays until the result shows, the human side answering with `humanLevel`'s choices.
    void PlayToTheEnd(int humanLevel) {
        TSage helper;
        helper.SetLevel(humanLevel);
        TBoard before = g_gameBoard;
        for (int frames = 0; frames < 20000 && g_gameState != gsResult; ++frames) {
            if (g_gameState == gsHuman) {
                int x = -1;
                int y = -1;
                if (helper.Think(g_gameBoard, &x, &y)) {
                    MoveCursorTo(x, y);
                    Rig.Frame({keySpace});
                } else {
                    Rig.Frame({keyEnter});
                }
                ASSERT_EQ(g_gameState, gsAnimate);
            } else {
                Rig.Clock.Advance(50);
                Rig.Frame();
            }
            if (g_gameState == gsAnimate) {
                Moves.push_back(g_lastMove.isPass ? std::pair{-1, -1}
                                                  : std::pair{g_lastMove.x, g_lastMove.y});
            }
        }
        ASSERT_EQ(g_gameState, gsResult);
        (void)before;
    }

    // The same game by the engine alone: `black` and `white` levels, 0 for none.
    static std::pair<TBoard, std::vector<std::pair<int, int>>> Replay(int blackLevel,
                                                                      int whiteLevel) {
        TSage sages[3];
        sages[cellBlack].SetLevel(blackLevel);
        sages[cellWhite].SetLevel(whiteLevel);
        TBoard board;
        std::vector<std::pair<int, int>> moves;
        while (!board.IsGameOver()) {
            int x = -1;
            int y = -1;
            if (sages[board.GetTurn()].Think(board, &x, &y)) {
                board.Place(x, y);
                moves.emplace_back(x, y);
            } else {
                board.Pass();
                moves.emplace_back(-1, -1);
            }
        }
        return {board, moves};
    }

    void ExpectResult(const char* text, int sound) {
        ASSERT_NE(Rig.FindText(text), nullptr) << text;
        const auto ends = Rig.SoundsOf(sound);
        ASSERT_FALSE(ends.empty());
        EXPECT_EQ(ends.back().DelayMs, 0u);
        const int other = sound == sndWin ? sndLose : sndWin;
        EXPECT_TRUE(Rig.SoundsOf(other).empty());
    }
};

TEST_F(WholeGameTest, TwoPlayersReplayTheLevelOneSelfPlayToADraw) {
    StartFromMenu(2, 0);
    PlayToTheEnd(1);
    const std::vector<std::pair<int, int>> opening = {{3, 2}, {2, 2}, {2, 3}, {4, 2}, {5, 2},
                                                      {2, 4}, {1, 3}, {6, 1}, {3, 1}, {3, 0}};
    ASSERT_GE(Moves.size(), 10u);
    EXPECT_EQ(std::vector(Moves.begin(), Moves.begin() + 10), opening);
    EXPECT_EQ(Moves.size(), 61u); // 60 moves and one pass
    EXPECT_EQ(g_gameBoard.GetCount(cellBlack), 32);
    EXPECT_EQ(g_gameBoard.GetCount(cellWhite), 32);
    ExpectResult("Draw!", sndWin);
    EXPECT_NE(Rig.FindText("32"), nullptr);
    Rig.Press(keySpace);
    EXPECT_EQ(g_scene, sceneTitle);
}

TEST_F(WholeGameTest, OnePlayerAsBlackLosesToHard) {
    // Level 1 as Black against level 5 ("Hard", the fifth line) as White.
    StartFromMenu(0, 5);
    EXPECT_EQ(g_playerType[cellWhite], playerComputer);
    PlayToTheEnd(1);
    const auto reference = Replay(1, 5);
    EXPECT_EQ(Moves, reference.second);
    EXPECT_EQ(g_gameBoard.GetCount(cellBlack), 6);
    EXPECT_EQ(g_gameBoard.GetCount(cellWhite), 57);
    ExpectResult("You Lose!", sndLose);
}

TEST_F(WholeGameTest, OnePlayerAsWhiteBeatsPoor) {
    // The computer plays Black at "Poor"; the human plays White with level 3's choices.
    StartFromMenu(1, 1);
    EXPECT_EQ(g_playerType[cellBlack], playerComputer);
    PlayToTheEnd(3);
    const auto reference = Replay(1, 3);
    EXPECT_EQ(Moves, reference.second);
    const int black = reference.first.GetCount(cellBlack);
    const int white = reference.first.GetCount(cellWhite);
    EXPECT_EQ(g_gameBoard.GetCount(cellBlack), black);
    EXPECT_EQ(g_gameBoard.GetCount(cellWhite), white);
    ASSERT_GT(white, black) << "expected the stronger side to win this game";
    ExpectResult("You Win!", sndWin);
}

} // namespace
