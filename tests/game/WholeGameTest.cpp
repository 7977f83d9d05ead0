#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Sound.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TitleScreens.h"

namespace {

using TMoves = std::vector<std::pair<int, int>>; // (-1, -1) for a pass

// The same game by the engine alone, at these levels.
std::pair<TBoard, TMoves> Replay(int blackLevel, int whiteLevel) {
    TSage sages[3];
    sages[cellBlack].SetLevel(blackLevel);
    sages[cellWhite].SetLevel(whiteLevel);
    TBoard board;
    TMoves moves;
    for (int plies = 0; plies < 200 && !board.IsGameOver(); ++plies) {
        int x = -1;
        int y = -1;
        if (sages[board.GetTurn()].Think(board, &x, &y)) {
            board.Place(x, y);
        } else {
            board.Pass();
        }
        moves.emplace_back(x, y);
    }
    EXPECT_TRUE(board.IsGameOver()) << "the replay does not end";
    return {board, moves};
}

struct TGameRow {
    const char* Name;
    int MenuLine, LevelCursor;  // how the game is chosen
    bool Mouse;                 // played by clicks, the pass a right click, or by keys
    int BlackLevel, WhiteLevel; // the computer's, and the choices for the human's moves
    const char* Result;
    int Sound;
};

// Whole games from the title to the result and back, played through the screens; each game is
// the one that the engine alone plays at the same levels.
class WholeGameTest : public ::testing::TestWithParam<TGameRow> {
  protected:
    TScreenRig Rig;

    TScreenPoint LineCentre(const char* text) {
        const TTextItem* item = Rig.FindText(text);
        EXPECT_NE(item, nullptr) << text;
        return item ? TScreenPoint{320, item->Top + 8.0} : TScreenPoint{-1, -1};
    }
};

TEST_P(WholeGameTest, PlaysTheEnginesGameToItsResult) {
    const TGameRow& row = GetParam();
    Rig.Frame();
    if (row.Mouse) {
        Rig.Click(320, 100);
        const TScreenPoint line = LineCentre("2 Players Game");
        Rig.Click(line.X, line.Y);
    } else {
        Rig.Press(keySpace);
        Rig.Press(keyDown, row.MenuLine);
        if (row.MenuLine < 2) {
            Rig.Press(keySpace);
            Rig.Press(row.LevelCursor < kLevelCursorOpen ? keyUp : keyDown,
                      std::abs(row.LevelCursor - kLevelCursorOpen));
        }
        Rig.Frame({keySpace});
    }
    ASSERT_EQ(g_scene, sceneGame);
    const int human = row.MenuLine == 1 ? cellWhite : cellBlack;
    TSage helpers[3];
    helpers[cellBlack].SetLevel(row.BlackLevel);
    helpers[cellWhite].SetLevel(row.WhiteLevel);
    TMoves moves;
    for (int frames = 0; frames < 20000 && g_gameState != gsResult; ++frames) {
        if (g_gameState != gsHuman) {
            Rig.Clock.Advance(50);
            Rig.Frame();
        } else {
            int x = -1;
            int y = -1;
            const bool move = helpers[g_gameBoard.GetTurn()].Think(g_gameBoard, &x, &y);
            if (row.Mouse) {
                const TScreenPoint p = move ? ScreenPointOfSquare(x, y) : TScreenPoint{600, 20};
                Rig.Click(p.X, p.Y, !move);
            } else {
                if (move && !Rig.MoveCursorTo(x, y)) {
                    return;
                }
                Rig.Frame({move ? keySpace : keyEnter});
            }
            ASSERT_EQ(g_gameState, gsAnimate) << "move " << moves.size();
        }
        if (g_gameState == gsAnimate) {
            moves.emplace_back(g_lastMove.isPass ? -1 : g_lastMove.x,
                               g_lastMove.isPass ? -1 : g_lastMove.y);
        }
    }
    ASSERT_EQ(g_gameState, gsResult);
    EXPECT_EQ(g_playerType[human], playerHuman);
    const auto [board, reference] = Replay(row.BlackLevel, row.WhiteLevel);
    EXPECT_EQ(moves, reference);
    EXPECT_EQ(g_gameBoard.GetCount(cellBlack), board.GetCount(cellBlack));
    EXPECT_EQ(g_gameBoard.GetCount(cellWhite), board.GetCount(cellWhite));
    EXPECT_NE(Rig.FindText(row.Result), nullptr);
    ASSERT_FALSE(Rig.SoundsOf(row.Sound).empty());
    EXPECT_TRUE(Rig.SoundsOf(row.Sound == sndWin ? sndLose : sndWin).empty());
    if (row.Mouse) {
        Rig.Click(320, 240);
    } else {
        Rig.Press(keySpace);
    }
    EXPECT_EQ(g_scene, sceneTitle);
}

INSTANTIATE_TEST_SUITE_P(
    Games, WholeGameTest,
    ::testing::Values(TGameRow{"BlackLosesToHard", 0, 5, false, 1, 5, "You Lose!", sndLose},
                      TGameRow{"WhiteBeatsPoor", 1, 1, false, 1, 3, "You Win!", sndWin},
                      TGameRow{"TwoPlayersByMouseDraw", 2, 0, true, 1, 1, "Draw!", sndWin}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
