#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <tuple>
#include <vector>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "game/GameAnimation.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "scene/Camera.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

// A board of these discs, "b" and "w" at (x, y), Black to move.
TBoard Board(std::initializer_list<std::tuple<int, int, int>> discs, int passes = 0) {
    TBoard board;
    for (int i = 0; i < 64; ++i) {
        board.SetCell(i % 8, i / 8, cellEmpty);
    }
    for (const auto& [x, y, cell] : discs) {
        board.SetCell(x, y, cell);
    }
    board.turn = cellBlack;
    board.passes = passes;
    return board;
}

// Black has no move, White has one.
TBoard BlackMustPass() {
    return Board({{0, 0, cellWhite}, {1, 0, cellBlack}, {7, 7, cellWhite}});
}

bool SameBoard(const TBoard& a, const TBoard& b) {
    return std::memcmp(&a, &b, sizeof(TBoard)) == 0;
}

class GameSceneTest : public ::testing::Test {
  protected:
    void SetUp() override { Rig.StartGame(playerHuman, playerHuman); }

    // Replaces the game in play by `board`, as if it had been reached.
    void UseBoard(const TBoard& board) {
        g_gameBoard = board;
        g_shownBoard = board;
        g_gameState = gsNextTurn;
        Rig.ClearSounds();
        Rig.Frame();
    }
    uint32_t Colour(const char* text) const {
        const TTextItem* item = Rig.FindText(text);
        return item ? item->Colour : 0xDEADu;
    }
    TScreenRig Rig;
};

// The start plays its sound and waits more than a second; Space plays only where a disc may
// go, Enter passes only when no move exists, and the side to move changes after the animation.
TEST_F(GameSceneTest, TheHumanPlaysWithSpaceAndPassesWithEnterOnlyWhenStuck) {
    g_gameState = gsStart;
    Rig.Frame();
    ASSERT_EQ(Rig.SoundsOf(sndLeady).size(), 1u);
    Rig.Clock.Advance(1000);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    EXPECT_TRUE(Rig.RunUntilGameState(gsHuman, 40));
    EXPECT_EQ(Colour("Black"), 0x00FFFFu);
    Rig.Press(keySpace); // (3, 3) is taken
    Rig.Press(keyEnter); // a move exists
    ASSERT_TRUE(Rig.MoveCursorTo(0, 0));
    Rig.Press(keySpace); // flips nothing
    EXPECT_EQ(g_gameState, gsHuman);
    EXPECT_EQ(g_gameBoard.GetCount(cellEmpty), 60);
    ASSERT_TRUE(Rig.MoveCursorTo(3, 2));
    Rig.Frame({keySpace});
    EXPECT_EQ(g_gameState, gsAnimate);
    EXPECT_EQ(g_gameBoard.GetCell(3, 2), cellBlack);
    EXPECT_FALSE(g_pointer->Visible);
    Rig.Frame();
    Rig.Clock.Advance(g_waitTime);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    EXPECT_EQ(Colour("Black"), 0x00FFFFu);
    EXPECT_NE(Rig.FindText(" 2"), nullptr);
    EXPECT_TRUE(Rig.RunUntilGameState(gsHuman, 40));
    EXPECT_EQ(Colour("White"), 0x00FFFFu);
    EXPECT_NE(Rig.FindText(" 4"), nullptr);
    EXPECT_TRUE(g_pointer->Visible);

    UseBoard(BlackMustPass());
    ASSERT_EQ(g_gameState, gsHuman);
    Rig.Press(keySpace);
    EXPECT_EQ(g_gameState, gsHuman);
    Rig.Frame({keyEnter});
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    EXPECT_TRUE(g_lastMove.isPass);
    EXPECT_EQ(g_gameBoard.GetTurn(), cellWhite);
    EXPECT_NE(Rig.FindText("Black Pass"), nullptr);
    EXPECT_TRUE(Rig.Sounds().empty()); // a pass has no animation and no sound
    EXPECT_TRUE(Rig.RunUntilGameState(gsHuman, 1100));
    EXPECT_EQ(Rig.FindText("Black Pass"), nullptr);
}

TEST_F(GameSceneTest, TheComputerAnswersOrPassesByItself) {
    g_playerType[cellBlack] = playerComputer;
    g_sage.SetLevel(1);
    for (const TBoard& board : {TBoard(), BlackMustPass()}) {
        UseBoard(board);
        EXPECT_EQ(g_gameState, gsComputer);
        EXPECT_TRUE(SameBoard(g_gameBoard, board)); // found, not yet played
        Rig.Frame();
        Rig.Frame();
        EXPECT_EQ(g_gameState, gsWait);
        EXPECT_EQ(g_gameBoard.GetTurn(), cellWhite);
        EXPECT_EQ(g_gameBoard.GetCount(cellEmpty), board.GetCount(cellEmpty) - !g_lastMove.isPass);
    }
    EXPECT_NE(Rig.FindText("Black Pass"), nullptr);
}

// Every end shows its result and plays its sound; Space then returns to the title.
TEST_F(GameSceneTest, EveryEndShowsItsResultAndSound) {
    const std::tuple<int, int, int, int, const char*, int> rows[] = {
        {playerHuman, playerComputer, 40, 24, "You Win!", sndWin},
        {playerHuman, playerComputer, 20, 44, "You Lose!", sndLose},
        {playerHuman, playerComputer, 32, 32, "Draw!", sndWin},
        {playerComputer, playerHuman, 10, 54, "You Win!", sndWin},
        {playerComputer, playerHuman, 54, 10, "You Lose!", sndLose},
        {playerComputer, playerHuman, 30, 30, "Draw!", sndWin},
        {playerHuman, playerHuman, 13, 0, "Black Win!", sndWin},
        {playerHuman, playerHuman, 1, 63, "White Win!", sndWin},
        {playerHuman, playerHuman, 32, 32, "Draw!", sndWin},
    };
    for (const auto& [blackPlayer, whitePlayer, black, white, text, sound] : rows) {
        SCOPED_TRACE(text);
        g_playerType[cellBlack] = blackPlayer;
        g_playerType[cellWhite] = whitePlayer;
        TBoard board = Board({}, 2);
        for (int i = 0; i < black + white; ++i) {
            board.SetCell(i % 8, i / 8, i < black ? cellBlack : cellWhite);
        }
        UseBoard(board);
        EXPECT_EQ(g_gameState, gsResult);
        ASSERT_EQ(Rig.Sounds().size(), 1u);
        EXPECT_EQ(Rig.Sounds()[0].Id, sound);
        EXPECT_NE(Rig.FindText(text), nullptr);
    }
    Rig.Press(keyEnter);
    EXPECT_EQ(g_gameState, gsResult);
    Rig.Frame({keySpace});
    EXPECT_EQ(g_scene, sceneTitle);
}

// The discs turn in waves from the new one: those at equal distance together, each further
// step 200 ms later, with a flip and a drop sound per wave, and the wait lasts until the last
// has landed showing its new colour.
TEST_F(GameSceneTest, TheDiscsTurnInWavesByTheirDistance) {
    Rig.RunFor(200);
    using TWaves = std::vector<std::vector<std::pair<int, int>>>; // the discs turned, by distance
    TBoard afterBlack;
    afterBlack.Place(3, 2);
    const int w = cellWhite;
    const int b = cellBlack;
    const std::tuple<const char*, TBoard, int, int, TWaves> rows[] = {
        {"one disc", TBoard(), 3, 2, {{{3, 3}}}},
        {"white to move", afterBlack, 2, 2, {{{3, 3}}}},
        {"six in a line",
         Board({{1, 0, w}, {2, 0, w}, {3, 0, w}, {4, 0, w}, {5, 0, w}, {6, 0, w}, {7, 0, b}}),
         0,
         0,
         {{{1, 0}}, {{2, 0}}, {{3, 0}}, {{4, 0}}, {{5, 0}}, {{6, 0}}}},
        {"two rings",
         Board({{3, 2, w}, {4, 2, b}, {2, 3, w}, {2, 4, b}, {3, 3, w}, {4, 4, w}, {5, 5, b}}),
         2,
         2,
         {{{3, 2}, {2, 3}, {3, 3}}, {{4, 4}}}},
    };
    for (const auto& [name, board, x, y, waves] : rows) {
        SCOPED_TRACE(name);
        UseBoard(board);
        g_cursorX = x;
        g_cursorY = y;
        Rig.Frame({keySpace});
        Rig.Frame();
        ASSERT_EQ(g_gameState, gsWait);
        const uint32_t start = g_stateTime;
        const int rings = static_cast<int>(waves.size());
        EXPECT_EQ(g_waitTime, 2000u + 200 * rings);
        EXPECT_EQ(Rig.Sounds().size(), 2u + 2 * rings); // the fall and the landing, then per ring
        const double up = g_gameBoard.GetCell(x, y) == cellWhite ? 180.0 : 0.0;
        for (int ring = 0; ring < rings; ++ring) {
            ASSERT_EQ(Rig.SoundsOf(sndTern + ring).size(), 1u) << ring;
            EXPECT_EQ(Rig.SoundsOf(sndTern + ring)[0].DelayMs, 1400u + 200 * ring);
            EXPECT_EQ(Rig.SoundsOf(sndDrop + ring).at(0).DelayMs, 2100u + 200 * ring);
            Rig.Clock.Set(start + 1700 + 200 * ring); // half-way through its turn
            for (const auto& [column, row] : waves[ring]) {
                const TSolid& disc = *g_pieces[row * 8 + column];
                EXPECT_DOUBLE_EQ(std::abs(disc.Rotation.X.GetValue() - up), 90.0) << ring;
                EXPECT_DOUBLE_EQ(disc.Position.Z.GetValue(), 100.0) << ring;
            }
        }
        EXPECT_TRUE(g_pieces[y * 8 + x]->Visible);
        Rig.Clock.Set(start + g_waitTime); // all landed, the new disc and the turned ones
        std::vector<std::pair<int, int>> moved = {{x, y}};
        for (const auto& wave : waves) {
            moved.insert(moved.end(), wave.begin(), wave.end());
        }
        for (const auto& [column, row] : moved) {
            const TSolid& disc = *g_pieces[row * 8 + column];
            EXPECT_DOUBLE_EQ(std::fmod(disc.Rotation.X.GetValue() + 360, 360), up);
            EXPECT_DOUBLE_EQ(disc.Position.Z.GetValue(), 10.0);
        }
        Rig.Frame();
        EXPECT_EQ(g_gameState, gsWait);
        Rig.Clock.Advance(1);
        Rig.Frame();
        EXPECT_EQ(g_gameState, gsNextTurn);
    }
}

// Control holds the free view: Left and Right turn the eye a step per 200 ms, Down raises it;
// released, the camera is back in the play view within 100 ms.
TEST_F(GameSceneTest, TheFreeViewTurnsTheEyeAndComesBack) {
    Rig.RunFor(200);
    const double eyeX = g_camera->Eye.X.GetValue();
    Rig.Frame({keyControl});
    EXPECT_EQ(g_gameState, gsView);
    const int step = g_viewStep;
    Rig.RunFor(3 * 200, {keyControl, keyLeft, keyDown});
    EXPECT_EQ(g_viewStep, step - 3);
    EXPECT_EQ(g_cursorX, 3); // the arrows turn the view, not the cursor
    Rig.RunFor(200, {keyControl});
    EXPECT_NEAR(g_camera->Eye.X.GetValue(), StepCos(step - 3) * 2000, 1e-6);
    EXPECT_NEAR(g_camera->Eye.Y.GetValue(), StepSin(step - 3) * 2000, 1e-6);
    EXPECT_DOUBLE_EQ(g_camera->Eye.Z.GetValue(), 2300.0);
    Rig.Frame();
    EXPECT_TRUE(Rig.RunUntilGameState(gsHuman, 20));
    Rig.Clock.Advance(100);
    EXPECT_DOUBLE_EQ(g_camera->Eye.X.GetValue(), eyeX);
    EXPECT_DOUBLE_EQ(g_camera->Eye.Z.GetValue(), 2000.0);
}

} // namespace
