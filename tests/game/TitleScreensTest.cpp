#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TitleScreens.h"

namespace {

class TitleScreensTest : public ::testing::Test {
  protected:
    TScreenRig Rig;

    void OpenMenu() {
        g_scene = sceneTitle;
        g_titleState = tsInit;
        Rig.Frame();
        Rig.Press(keySpace);
        Rig.ClearSounds();
    }
    void OpenLine(int menuLine) {
        OpenMenu();
        Rig.Press(keyDown, menuLine);
        Rig.Press(keySpace);
        Rig.ClearSounds();
    }
};

int g_closeRequests = 0;

// The title waits for Space; the menu's cursor sounds only when it moves, Enter goes back, and
// each line opens what it says with the players it says.
TEST_F(TitleScreensTest, TheTitleOpensTheMenuAndEachLineItsScreen) {
    Rig.Frame();
    ASSERT_NE(Rig.FindText("PUSH SPACE KEY"), nullptr);
    for (int key : {keyEnter, keyControl, keyLeft, keyRight, keyUp, keyDown}) {
        Rig.Press(key);
    }
    EXPECT_EQ(g_titleState, tsTitle);
    EXPECT_TRUE(Rig.Sounds().empty());
    g_menuCursor = 3;
    Rig.Press(keySpace);
    EXPECT_EQ(g_titleState, tsMenu);
    EXPECT_EQ(Rig.Yellow(), "1 Player Game (Black)");
    Rig.Press(keyUp);
    Rig.Press(keyDown, 6);
    EXPECT_EQ(Rig.Yellow(), "[ EXIT ]");
    EXPECT_EQ(Rig.Sounds().size(),
              5u); // Space, then four steps: the presses past an end are silent
    Rig.Frame({keySpace, keyEnter});
    EXPECT_EQ(g_titleState, tsTitle);

    struct TRow {
        int Line, Scene, TitleState, Black, White;
    };
    const TRow rows[] = {
        {0, sceneTitle, tsLevel, playerHuman, playerComputer},
        {1, sceneTitle, tsLevel, playerComputer, playerHuman},
        {2, sceneGame, tsMenu, playerHuman, playerHuman},
        {3, sceneTitle, tsConfig, -1, -1},
        {4, sceneTitle, tsMenu, -1, -1},
    };
    SetCloseHandler([] { ++g_closeRequests; });
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Line);
        g_closeRequests = 0;
        g_sage.SetLevel(8);
        OpenLine(row.Line);
        EXPECT_EQ(g_scene, row.Scene);
        EXPECT_EQ(g_closeRequests, row.Line == 4 ? 1 : 0);
        if (row.Scene == sceneTitle) {
            EXPECT_EQ(g_titleState, row.TitleState);
        } else {
            EXPECT_EQ(g_sage.GetLevel(), 8); // two players keep the level
        }
        if (row.Black >= 0) {
            EXPECT_EQ(g_playerType[cellBlack], row.Black);
            EXPECT_EQ(g_playerType[cellWhite], row.White);
        }
        if (row.TitleState == tsLevel) {
            EXPECT_EQ(Rig.Yellow(), "Normal");
            Rig.Press(keyEnter);
            EXPECT_EQ(g_titleState, tsMenu);
        }
    }
    SetCloseHandler(nullptr);
}

// Every place of the level cursor shows its line and starts the game at its engine level; the
// cursor stops at both ends.
TEST_F(TitleScreensTest, EveryLevelCursorShowsItsLineAndGivesItsEngineLevel) {
    const int levels[20] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 9};
    const char* const names[] = {"Poor", "Very Easy", "Easy", "Normal", "Hard", "Very Hard"};
    for (int cursor = 1; cursor <= 19; ++cursor) {
        SCOPED_TRACE(cursor);
        OpenLine(0);
        for (int press = kLevelCursorOpen; press < cursor; ++press) {
            Rig.Press(keyDown);
        }
        for (int press = cursor; press < kLevelCursorOpen; ++press) {
            Rig.Press(keyUp);
        }
        if (cursor <= 12) {
            EXPECT_EQ(Rig.Yellow(), cursor <= 6 ? names[cursor - 1] : "Expert");
        }
        EXPECT_NE(Rig.FindText(cursor <= 12   ? "Expert"
                               : cursor <= 18 ? "Extreme"
                                              : "Extreme+"),
                  nullptr);
        Rig.Frame({keySpace});
        EXPECT_EQ(g_sage.GetLevel(), levels[cursor]);
        EXPECT_EQ(g_scene, sceneGame);
    }
    OpenLine(0);
    Rig.Press(keyUp, 5);
    EXPECT_EQ(g_levelCursor, 1);
    Rig.Press(keyDown, 25);
    EXPECT_EQ(g_levelCursor, 19);
    EXPECT_EQ(Rig.Sounds().size(), 30u); // at the ends the presses still sound
}

// Left and Right step the colour within 0..10 (a stored step above 10 is only lowered) and the
// board shows it after each; they toggle the fog, as Space does; Space on [BACK] returns.
TEST_F(TitleScreensTest, TheConfigurationStepsTheColoursAndTheFog) {
    BoardR = 0;
    BoardG = 7;
    BoardB = 50;
    FogEnable = 0;
    OpenLine(3);
    EXPECT_EQ(Rig.Yellow(), "[BACK]");
    EXPECT_EQ(BoardColourDrawn(Rig.Log()), (TRgb{0, 178, 50 * 255 / 10}));
    Rig.Press(keyUp, 4);
    const std::tuple<int, int, int32_t*, int32_t> rows[] = {
        {keyLeft, 1, &BoardR, 0},    {keyRight, 2, &BoardR, 2},    {keyDown, 1, nullptr, 0},
        {keyLeft, 3, &BoardG, 4},    {keyRight, 9, &BoardG, 10},   {keyDown, 1, nullptr, 0},
        {keyRight, 1, &BoardB, 50},  {keyLeft, 1, &BoardB, 49},    {keyDown, 1, nullptr, 0},
        {keyLeft, 1, &FogEnable, 1}, {keyRight, 1, &FogEnable, 0}, {keySpace, 1, &FogEnable, 1},
    };
    for (const auto& [key, times, value, expected] : rows) {
        Rig.Press(key, times);
        if (value) {
            EXPECT_EQ(*value, expected);
            EXPECT_EQ(BoardColourDrawn(Rig.Log()),
                      (TRgb{BoardColourOfStep(BoardR), BoardColourOfStep(BoardG),
                            BoardColourOfStep(BoardB)}));
        }
    }
    EXPECT_NE(Rig.FindText("Fog - [On]"), nullptr);
    EXPECT_EQ(g_titleState, tsConfig);
    Rig.Press(keyDown);
    Rig.Press(keySpace);
    EXPECT_EQ(g_titleState, tsMenu);
    EXPECT_EQ(g_menuCursor, 3);
}

// Leaving the configuration (Space on [BACK], or Enter) saves at once; nothing is saved
// before the settings were loaded.
TEST(TitleScreensSaveTest, LeavingTheConfigurationSavesTheSettings) {
    char pattern[] = "/tmp/octavane-title-save-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string file = std::string(pattern) + "/settings.reg";
    for (const bool byEnter : {false, true}) {
        SCOPED_TRACE(byEnter ? "Enter" : "Space on [BACK]");
        std::filesystem::remove(file);
        TScreenRig rig;
        rig.Frame();
        rig.Press(keySpace);
        rig.Press(keyDown, 3);
        rig.Press(keySpace);
        rig.Press(keyUp, 4);
        rig.Press(keyRight); // red 1
        rig.Press(keyDown, 4);
        rig.Press(byEnter ? keyEnter : keySpace);
        EXPECT_FALSE(std::filesystem::exists(file)) << "saved before the settings were loaded";
        LoadSettingsFrom(file); // there is none yet: red stays 1
        rig.Press(keySpace);
        rig.Press(byEnter ? keyEnter : keySpace);
        EXPECT_EQ(g_titleState, tsMenu);
        std::ifstream in(file);
        const std::string stored(std::istreambuf_iterator<char>(in), {});
        EXPECT_NE(stored.find("\"BoardR\"=dword:00000001"), std::string::npos) << stored;
    }
    std::filesystem::remove_all(pattern);
}

} // namespace
