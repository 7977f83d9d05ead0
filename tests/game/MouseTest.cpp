#include <gtest/gtest.h>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
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

    void StartGame(int black, int white) {
        g_playerType[cellBlack] = black;
        g_playerType[cellWhite] = white;
        g_scene = sceneGame;
        g_gameState = gsStart;
        Rig.Frame();
        ASSERT_TRUE(Rig.RunUntilGameState(gsHuman));
        Rig.ClearSounds();
    }

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
};

// --- On the board ---

// A click places on the square the camera shows under it: in the play view, in a wide and a
// tall letterboxed window, and after the free view has turned the camera.
TEST_F(MouseTest, AClickPlacesOnTheSquareSeenUnderIt) {
    struct TRow {
        const char* Name;
        int Width, Height;
        int Column, Row;
        bool FreeView;
    };
    const TRow rows[] = {{"play view", 640, 480, 3, 2, false},
                         {"wide window", 1920, 1080, 2, 3, false},
                         {"tall window", 1024, 1280, 5, 4, false},
                         {"free view", 1920, 1080, 4, 5, true}};
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        StartGame(playerHuman, playerHuman);
        if (row.FreeView) {
            // Three steps round and two lower, then hover while the view is held.
            Rig.RunFor(640, {keyControl, keyLeft});
            Rig.RunFor(440, {keyControl, keyUp});
            Rig.RunFor(200, {keyControl});
            ASSERT_LT(g_camera->Eye.Z.GetValue(), 1900.0)
                << "the eye should have left the play view";
            const TScreenPoint p =
                ThroughWindow(ScreenPointOfSquare(row.Column, row.Row), row.Width, row.Height);
            Rig.MouseNext = TMouseFrame{true, p.X, p.Y, true};
            Rig.Frame({keyControl});
            EXPECT_EQ(g_gameState, gsView);
            EXPECT_EQ(g_cursorX, row.Column);
            EXPECT_EQ(g_cursorY, row.Row);
            ASSERT_TRUE(Rig.RunUntilGameState(gsHuman));
            Rig.Frame({keySpace});
        } else {
            const TScreenPoint p =
                ThroughWindow(ScreenPointOfSquare(row.Column, row.Row), row.Width, row.Height);
            Rig.Click(p.X, p.Y);
        }
        ASSERT_EQ(g_gameState, gsAnimate);
        EXPECT_EQ(g_lastMove.x, row.Column);
        EXPECT_EQ(g_lastMove.y, row.Row);
        EXPECT_EQ(g_gameBoard.GetCell(row.Column, row.Row), cellBlack);
    }
}

TEST_F(MouseTest, TheCursorFollowsTheMouseWithOneStepSoundPerSquare) {
    StartGame(playerHuman, playerHuman);
    const TScreenPoint a = ScreenPointOfSquare(6, 1);
    Rig.MoveMouse(a.X, a.Y);
    Rig.MoveMouse(a.X + 2, a.Y + 1); // the same square
    EXPECT_EQ(g_cursorX, 6);
    EXPECT_EQ(g_cursorY, 1);
    EXPECT_EQ(Rig.SoundsOf(sndMove2).size() + Rig.SoundsOf(sndMove).size(), 1u);
    // Off the board, on the picture and off it, a click changes nothing.
    Rig.ClearSounds();
    Rig.Click(5, 5);
    Rig.MouseNext.HasPosition = false;
    Rig.MouseNext.LeftClick = true;
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsHuman);
    EXPECT_EQ(g_cursorX, 6);
    EXPECT_TRUE(Rig.Sounds().empty());
}

// From the title to the result and back with the mouse alone: the level-one self-play, whose
// one pass is a right click.
TEST_F(MouseTest, AWholeTwoPlayerGameIsPlayedWithTheMouseAlone) {
    Rig.Frame(); // tsInit
    Rig.Click(320, 100);
    ASSERT_EQ(g_titleState, tsMenu);
    const TScreenPoint twoPlayers = LineCentre("2 Players Game");
    Rig.Click(twoPlayers.X, twoPlayers.Y);
    ASSERT_EQ(g_scene, sceneGame);
    TSage helper;
    helper.SetLevel(1);
    int moves = 0;
    int passes = 0;
    for (int frames = 0; frames < 20000 && g_gameState != gsResult; ++frames) {
        if (g_gameState != gsHuman) {
            Rig.Clock.Advance(50);
            Rig.Frame();
            continue;
        }
        int x = -1;
        int y = -1;
        if (helper.Think(g_gameBoard, &x, &y)) {
            const TScreenPoint p = ScreenPointOfSquare(x, y);
            Rig.Click(p.X, p.Y);
            ++moves;
        } else {
            Rig.Click(600, 20, true);
            ++passes;
        }
        ASSERT_EQ(g_gameState, gsAnimate) << "move " << moves;
    }
    ASSERT_EQ(g_gameState, gsResult);
    EXPECT_EQ(moves, 60);
    EXPECT_EQ(passes, 1);
    EXPECT_NE(Rig.FindText("Draw!"), nullptr);
    Rig.Click(320, 240);
    EXPECT_EQ(g_scene, sceneTitle);
}

// --- On the title screens ---

bool g_closeRequested = false;

TEST_F(MouseTest, HoverSelectsAndAClickChoosesEveryMenuLine) {
    struct TRow {
        const char* Text;
        int Scene, TitleState;
        int BlackPlayer;
        bool Closes;
    };
    const TRow rows[] = {
        {"1 Player Game (Black)", sceneTitle, tsLevel, playerHuman, false},
        {"1 Player Game (White)", sceneTitle, tsLevel, playerComputer, false},
        {"2 Players Game", sceneGame, tsMenu, playerHuman, false},
        {"Config", sceneTitle, tsConfig, -1, false},
        {"[ EXIT ]", sceneTitle, tsMenu, -1, true},
    };
    SetCloseHandler([] { g_closeRequested = true; });
    for (int line = 0; line < 5; ++line) {
        const TRow& row = rows[line];
        SCOPED_TRACE(row.Text);
        ReturnToTitle();
        g_closeRequested = false;
        Rig.Frame();
        Rig.Click(320, 100);
        ASSERT_EQ(g_titleState, tsMenu);
        // Away from the line first, so that the hover is a step onto it.
        Rig.Press(line == 0 ? keyDown : keyUp);
        Rig.ClearSounds();
        const TScreenPoint p = LineCentre(row.Text);
        Rig.MoveMouse(p.X, p.Y);
        EXPECT_EQ(g_menuCursor, line);
        EXPECT_EQ(Rig.Sounds().size(), 1u);
        Rig.Click(p.X, p.Y);
        EXPECT_EQ(g_scene, row.Scene);
        EXPECT_EQ(g_closeRequested, row.Closes);
        if (row.Scene == sceneTitle) {
            EXPECT_EQ(g_titleState, row.TitleState);
        }
        if (row.BlackPlayer >= 0) {
            EXPECT_EQ(g_playerType[cellBlack], row.BlackPlayer);
        }
    }
    SetCloseHandler(nullptr);
}

TEST_F(MouseTest, LevelLinesAreChosenByHoverClickAndWheel) {
    Rig.Frame();
    Rig.Click(320, 100);
    const TScreenPoint black = LineCentre("1 Player Game (Black)");
    Rig.Click(black.X, black.Y);
    ASSERT_EQ(g_titleState, tsLevel);
    const char* const lines[] = {"Poor", "Very Easy", "Easy", "Normal", "Hard", "Very Hard"};
    for (int level = 1; level <= 6; ++level) {
        const TScreenPoint p = LineCentre(lines[level - 1]);
        Rig.MoveMouse(p.X, p.Y);
        EXPECT_EQ(g_levelCursor, level) << lines[level - 1];
    }
    // Three wheel steps towards the player walk on, one a frame, to "Expert".
    Rig.MouseNext.Wheel = -3;
    Rig.Frame();
    Rig.Frame();
    Rig.Frame();
    EXPECT_EQ(g_levelCursor, 9);
    Rig.MouseNext.Wheel = 2;
    Rig.Frame();
    Rig.Frame();
    EXPECT_EQ(g_levelCursor, 7);
    const TScreenPoint expert = LineCentre("Expert");
    Rig.Click(expert.X, expert.Y);
    EXPECT_EQ(g_scene, sceneGame);
    EXPECT_EQ(g_sage.GetLevel(), 7);
}

TEST_F(MouseTest, ConfigurationClicksStepColoursByTheHalfAndRightClickGoesBack) {
    Rig.Frame();
    Rig.Click(320, 100);
    const TScreenPoint config = LineCentre("Config");
    Rig.Click(config.X, config.Y);
    ASSERT_EQ(g_titleState, tsConfig);
    const TScreenPoint green = LineCentre("G - [ 7]");
    Rig.Click(100, green.Y);
    EXPECT_EQ(BoardG, 6);
    Rig.Click(500, green.Y);
    Rig.Click(500, green.Y);
    EXPECT_EQ(BoardG, 8);
    EXPECT_EQ(BoardColourDrawn(Rig.Log()).G, BoardColourOfStep(8));
    const TScreenPoint fog = LineCentre("Fog - [Off]");
    Rig.Click(100, fog.Y);
    EXPECT_EQ(FogEnable, 1);
    Rig.Click(320, 20, true);
    EXPECT_EQ(g_titleState, tsMenu);
    ResetSettings();
}

} // namespace
