#include <gtest/gtest.h>

#include "ScreenRig.h"
#include "app/App.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TitleScreens.h"
#include "scene/Camera.h"
#include "scene/Solidpiece.h"

namespace {

// Escape reaches the program as a window message, not as one of the seven keys: in the game it
// abandons the game for the title, on the title family it closes the window.

class TTestWindow final : public TWindow {
  public:
    void ShowCursor(bool) override {}
    void Destroy() override { Destroyed = true; }
    bool Destroyed = false;
};

class EscapeTest : public ::testing::Test {
  protected:
    TScreenRig Rig;
    TTestWindow Window;

    void SetUp() override { AdoptWindow(&Window); }

    void Escape() { MainWndProc(&Window, WM_KEYDOWN, VK_ESCAPE, 0); }

    // A two-player game (or one against the computer as White) brought to `state`.
    void ReachGameState(int state) {
        g_scene = sceneGame;
        g_gameState = gsStart;
        g_playerType[cellBlack] = state == gsComputer ? playerComputer : playerHuman;
        g_playerType[cellWhite] = playerHuman;
        g_sage.SetLevel(1);
        if (state == gsStart) {
            return;
        }
        Rig.Frame();
        if (state == gsWait) {
            return;
        }
        Rig.Clock.Advance(1001);
        Rig.Frame();
        if (state == gsNextTurn) {
            return;
        }
        Rig.Frame();
        if (state == gsComputer || state == gsHuman) {
            return;
        }
        if (state == gsView) {
            Rig.Frame({keyControl});
            return;
        }
        g_cursorX = 3;
        g_cursorY = 2;
        Rig.Frame({keySpace});
        if (state == gsAnimate) {
            return;
        }
        // gsResult: a finished board.
        g_gameBoard = TBoard();
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                g_gameBoard.SetCell(x, y, cellBlack);
            }
        }
        g_shownBoard = g_gameBoard;
        g_gameState = gsNextTurn;
        Rig.Frame();
    }
};

TEST_F(EscapeTest, EscapeInEveryGameStateReturnsToTheTitle) {
    for (int state = gsStart; state <= gsResult; ++state) {
        g_scene = sceneTitle;
        ReachGameState(state);
        ASSERT_EQ(g_scene, sceneGame);
        ASSERT_EQ(g_gameState, state);
        Rig.Clock.Advance(7);
        Escape();
        EXPECT_EQ(g_scene, sceneTitle) << "state " << state;
        EXPECT_EQ(g_titleState, tsInit);
        EXPECT_EQ(g_stateTime, Rig.Clock.Now());
        EXPECT_FALSE(Window.Destroyed);
        // The title starts over on the next frame, its camera orbiting again.
        Rig.Frame();
        EXPECT_EQ(g_titleState, tsTitle);
        ASSERT_NE(Rig.FindText("PUSH SPACE KEY"), nullptr);
        Rig.Clock.Advance(20000);
        Rig.Frame();
        EXPECT_FALSE(g_camera->Eye.X.Schedule.empty()) << "state " << state;
    }
}

TEST_F(EscapeTest, ANewGameAfterEscapeStartsFromTheStartPosition) {
    ReachGameState(gsWait);
    g_cursorX = 3;
    g_cursorY = 2;
    Rig.Clock.Advance(2000);
    Rig.Frame();
    Rig.Frame({keySpace});
    Escape();
    Rig.Frame();
    Rig.Press(keySpace);
    Rig.Press(keyDown, 2);
    Rig.Frame({keySpace});
    Rig.Frame();
    EXPECT_EQ(g_gameBoard.GetCount(cellEmpty), 60);
    EXPECT_EQ(g_gameBoard.GetTurn(), cellBlack);
    EXPECT_FALSE(g_pieces[2 * 8 + 3]->Visible);
}

TEST(EscapeOnTheTitleTest, EscapeOnEveryTitleScreenClosesTheWindow) {
    const int states[] = {tsTitle, tsMenu, tsLevel, tsConfig};
    for (int state : states) {
        TScreenRig rig;
        TTestWindow window;
        AdoptWindow(&window);
        SetMessageTarget(nullptr, &window, MainWndProc);
        rig.Frame();
        g_titleState = state;
        rig.Frame();
        ASSERT_NE(g_device, nullptr);
        MainWndProc(&window, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(window.Destroyed) << "state " << state;
        EXPECT_EQ(g_device, nullptr) << "the devices were not released";
        EXPECT_EQ(g_scene, sceneTitle);
        SetMessageTarget(nullptr, nullptr, nullptr);
    }
}

} // namespace
