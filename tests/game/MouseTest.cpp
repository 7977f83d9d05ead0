#include <gtest/gtest.h>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TitleScreens.h"
#include "platform/MouseState.h"
#include "platform/Present.h"
#include "scene/Camera.h"

namespace {

class MouseTest : public ::testing::Test {
  protected:
    TScreenRig Rig;

    // The logical point that the mouse reports for `p` in a window of width x height: the window
    // point where the letterboxed picture shows p, mapped back as the event translation does.
    static TScreenPoint ThroughWindow(TScreenPoint p, int width, int height) {
        const TScreenArea area = FitScreenArea(width, height, 640, 480);
        TScreenPoint back{-1, -1};
        EXPECT_TRUE(WindowToLogical(width, height, 640, 480, area.X + p.X * area.Scale,
                                    area.Y + p.Y * area.Scale, back.X, back.Y));
        return back;
    }
    // The middle of a panel line, by the text the frame drew.
    TScreenPoint LineCentre(const std::string& text) const {
        const TTextItem* item = Rig.FindText(text);
        EXPECT_NE(item, nullptr) << text;
        return item ? TScreenPoint{320, item->Top + 8.0} : TScreenPoint{-1, -1};
    }
    void ClickLine(const std::string& text) {
        const TScreenPoint p = LineCentre(text);
        Rig.Click(p.X, p.Y);
    }
    void OpenMenu() {
        ReturnToTitle();
        Rig.Frame();
        Rig.Click(320, 100);
        ASSERT_EQ(g_titleState, tsMenu);
    }
};

// A click places on the square the camera shows under it: in the play view, in a wide and a
// tall letterboxed window, and after the free view has turned the camera. The cursor follows
// the mouse, one step sound per square; off the board a click changes nothing.
TEST_F(MouseTest, AClickPlacesOnTheSquareSeenUnderIt) {
    const std::tuple<const char*, int, int, int, int, bool> rows[] = {
        {"play view", 640, 480, 3, 2, false},
        {"wide window", 1920, 1080, 2, 3, false},
        {"tall window", 1024, 1280, 5, 4, false},
        {"free view", 1920, 1080, 4, 5, true}};
    for (const auto& [name, width, height, column, row, freeView] : rows) {
        SCOPED_TRACE(name);
        Rig.StartGame(playerHuman, playerHuman);
        if (freeView) { // three steps round and two lower, then hover while the view is held
            Rig.RunFor(640, {keyControl, keyLeft});
            Rig.RunFor(440, {keyControl, keyUp});
            Rig.RunFor(200, {keyControl});
            ASSERT_LT(g_camera->Eye.Z.GetValue(), 1900.0) << "still in the play view";
        }
        const TScreenPoint p = ThroughWindow(ScreenPointOfSquare(column, row), width, height);
        if (freeView) {
            Rig.MouseNext = TMouseFrame{true, p.X, p.Y, true};
            Rig.Frame({keyControl});
            EXPECT_EQ(g_gameState, gsView);
            ASSERT_TRUE(Rig.RunUntilGameState(gsHuman));
            EXPECT_EQ(g_cursorX, column);
            Rig.Frame({keySpace});
        } else {
            const TScreenPoint hover = ThroughWindow(ScreenPointOfSquare(6, 1), width, height);
            Rig.MoveMouse(hover.X, hover.Y);
            Rig.MoveMouse(hover.X + 1, hover.Y + 1); // the same square
            Rig.Click(5, 5);
            Rig.MouseNext.HasPosition = false;
            Rig.MouseNext.LeftClick = true;
            Rig.Frame();
            EXPECT_EQ(g_cursorX, 6);
            EXPECT_EQ(g_cursorY, 1);
            EXPECT_EQ(Rig.Sounds().size(), 1u);
            EXPECT_EQ(g_gameState, gsHuman);
            Rig.Click(p.X, p.Y);
        }
        ASSERT_EQ(g_gameState, gsAnimate);
        EXPECT_EQ(g_lastMove.x, column);
        EXPECT_EQ(g_lastMove.y, row);
    }
}

bool g_closeRequested = false;

TEST_F(MouseTest, HoverSelectsAndAClickChoosesEveryMenuLine) {
    const std::tuple<const char*, int, int, int> rows[] = {
        {"1 Player Game (Black)", sceneTitle, tsLevel, playerHuman},
        {"1 Player Game (White)", sceneTitle, tsLevel, playerComputer},
        {"2 Players Game", sceneGame, tsMenu, playerHuman},
        {"Config", sceneTitle, tsConfig, -1},
        {"[ EXIT ]", sceneTitle, tsMenu, -1},
    };
    SetCloseHandler([] { g_closeRequested = true; });
    for (int line = 0; line < 5; ++line) {
        const auto& [text, scene, titleState, black] = rows[line];
        SCOPED_TRACE(text);
        g_closeRequested = false;
        OpenMenu();
        Rig.Press(line == 0 ? keyDown : keyUp); // away from the line, so that the hover steps
        Rig.ClearSounds();
        const TScreenPoint p = LineCentre(text);
        Rig.MoveMouse(p.X, p.Y);
        EXPECT_EQ(g_menuCursor, line);
        EXPECT_EQ(Rig.Sounds().size(), 1u);
        Rig.Click(p.X, p.Y);
        EXPECT_EQ(g_scene, scene);
        EXPECT_EQ(g_closeRequested, line == 4);
        EXPECT_TRUE(scene == sceneGame || g_titleState == titleState);
        EXPECT_TRUE(black < 0 || g_playerType[cellBlack] == black);
    }
    SetCloseHandler(nullptr);
}

TEST_F(MouseTest, LevelLinesAreChosenByHoverClickAndWheel) {
    OpenMenu();
    ClickLine("1 Player Game (Black)");
    ASSERT_EQ(g_titleState, tsLevel);
    const char* const lines[] = {"Poor", "Very Easy", "Easy", "Normal", "Hard", "Very Hard"};
    for (int level = 1; level <= 6; ++level) {
        const TScreenPoint p = LineCentre(lines[level - 1]);
        Rig.MoveMouse(p.X, p.Y);
        EXPECT_EQ(g_levelCursor, level) << lines[level - 1];
    }
    Rig.MouseNext.Wheel = -3; // towards the player: one step a frame
    Rig.Frame();
    Rig.Frame();
    Rig.Frame();
    EXPECT_EQ(g_levelCursor, 9);
    Rig.MouseNext.Wheel = 2;
    Rig.Frame();
    Rig.Frame();
    EXPECT_EQ(g_levelCursor, 7);
    ClickLine("Expert");
    EXPECT_EQ(g_scene, sceneGame);
    EXPECT_EQ(g_sage.GetLevel(), 7);
}

TEST_F(MouseTest, ConfigurationClicksStepColoursByTheHalfAndRightClickGoesBack) {
    OpenMenu();
    ClickLine("Config");
    ASSERT_EQ(g_titleState, tsConfig);
    const TScreenPoint green = LineCentre("G - [ 7]");
    Rig.Click(100, green.Y);
    EXPECT_EQ(BoardG, 6);
    Rig.Click(500, green.Y);
    Rig.Click(500, green.Y);
    EXPECT_EQ(BoardG, 8);
    EXPECT_EQ(BoardColourDrawn(Rig.Log()).G, BoardColourOfStep(8));
    Rig.Click(100, LineCentre("Fog - [Off]").Y);
    EXPECT_EQ(FogEnable, 1);
    Rig.Click(320, 20, true);
    EXPECT_EQ(g_titleState, tsMenu);
}

} // namespace
