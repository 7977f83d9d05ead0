#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TitleScreens.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

class TitleScreensTest : public ::testing::Test {
  protected:
    TScreenRig Rig;

    void OpenMenu() {
        Rig.Frame(); // tsInit
        Rig.Press(keySpace);
        Rig.ClearSounds();
    }
    void OpenLevels(int menuLine) {
        OpenMenu();
        Rig.Press(keyDown, menuLine);
        Rig.Press(keySpace);
        Rig.ClearSounds();
    }
    void OpenConfig() { OpenLevels(3); }
    std::string Yellow() const {
        for (const TTextItem& item : Rig.Texts()) {
            if (item.Colour == 0x00FFFF) {
                return item.Text;
            }
        }
        return "";
    }
};

// --- The title and its transitions ---

TEST_F(TitleScreensTest, FirstFrameSetsUpTheTitleAndShowsThePrompt) {
    Rig.Frame();
    EXPECT_EQ(g_titleState, tsTitle);
    EXPECT_EQ(g_stateTime, TScreenRig::kStartTick);
    const TTextItem* title = Rig.FindText("Octavane");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Height, 64);
    EXPECT_EQ(title->Top, 172);
    EXPECT_EQ(title->Face, "Times New Roman");
    ASSERT_NE(Rig.FindText("ver. 2.3"), nullptr);
    const TTextItem* prompt = Rig.FindText("PUSH SPACE KEY");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->Height, 32);
    EXPECT_EQ(prompt->Top, 320);
    EXPECT_EQ(prompt->Colour, 0xFFFFFFu);
    EXPECT_EQ(g_device->GetLightState(D3DLIGHTSTATE_AMBIENT), 0x00FF8080u);
    EXPECT_EQ(g_device->GetLightState(D3DLIGHTSTATE_MATERIAL), g_materialHandle);
}

TEST_F(TitleScreensTest, TitleDrawsTheDiscsAndTheBoardButNoPointer) {
    Rig.Frame();
    // 64 discs with two materials each, then the board: one scene per drawn model.
    EXPECT_EQ(Rig.Log().CountOf(callBeginScene), 65u);
    EXPECT_EQ(Rig.Log().CountOf(callDrawPrimitive), 64u * 4u + 65u);
}

TEST_F(TitleScreensTest, SpaceOpensTheMenuOnItsFirstLine) {
    Rig.Frame();
    g_menuCursor = 3;
    Rig.Clock.Advance(40);
    Rig.Frame({keySpace});
    EXPECT_EQ(g_titleState, tsMenu);
    EXPECT_EQ(g_menuCursor, 0);
    EXPECT_EQ(g_stateTime, TScreenRig::kStartTick + 40);
    ASSERT_EQ(Rig.Sounds().size(), 1u);
    EXPECT_EQ(Rig.Sounds()[0].Id, sndMove2);
    EXPECT_EQ(Rig.Sounds()[0].DelayMs, 0u);
    EXPECT_EQ(Yellow(), "1 Player Game (Black)");
}

TEST_F(TitleScreensTest, OtherKeysLeaveTheTitleAlone) {
    Rig.Frame();
    for (int key : {keyEnter, keyControl, keyLeft, keyRight, keyUp, keyDown}) {
        Rig.Press(key);
    }
    EXPECT_EQ(g_titleState, tsTitle);
    EXPECT_TRUE(Rig.Sounds().empty());
}

TEST_F(TitleScreensTest, TheCameraAndTheLightOrbitTheBoard) {
    Rig.Frame();
    // The eye's first step takes 100 ms, then 500 ms per 1/32 turn at radius 2000.
    Rig.Clock.Advance(100);
    Rig.Frame();
    EXPECT_NEAR(g_camera->Eye.X.GetValue(), StepSin(-1) * 2000, 1e-6);
    EXPECT_NEAR(g_camera->Eye.Y.GetValue(), StepCos(-1) * 2000, 1e-6);
    Rig.Clock.Advance(500 * 9);
    Rig.Frame();
    EXPECT_NEAR(g_camera->Eye.X.GetValue(), StepSin(8) * 2000, 1e-6);
    EXPECT_NEAR(g_camera->Eye.Y.GetValue(), StepCos(8) * 2000, 1e-6);
    // A full 32-step lap of the light takes 3.2 s; it keeps a radius of 500.
    const double x = g_lights[1]->Position.X.GetValue();
    const double y = g_lights[1]->Position.Y.GetValue();
    EXPECT_NEAR(x * x + y * y, 500.0 * 500.0, 1.0);
    // Long after, the orbits still run (the segments repeat).
    Rig.Clock.Advance(60000);
    Rig.Frame();
    EXPECT_FALSE(g_camera->Eye.X.Schedule.empty());
    EXPECT_FALSE(g_lights[1]->Position.X.Schedule.empty());
}

// --- The menu ---

TEST_F(TitleScreensTest, MenuUpAndDownSoundOnlyWhenTheCursorMoves) {
    OpenMenu();
    Rig.Press(keyUp);
    EXPECT_EQ(g_menuCursor, 0);
    EXPECT_TRUE(Rig.Sounds().empty());
    Rig.Press(keyDown);
    EXPECT_EQ(g_menuCursor, 1);
    Rig.Press(keyUp);
    EXPECT_EQ(g_menuCursor, 0);
    ASSERT_EQ(Rig.Sounds().size(), 2u);
    EXPECT_EQ(Rig.Sounds()[0].Id, sndMove2);
    EXPECT_EQ(Rig.Sounds()[1].Id, sndMove);
    Rig.ClearSounds();
    Rig.Press(keyDown, 6);
    EXPECT_EQ(g_menuCursor, 4);
    EXPECT_EQ(Rig.Sounds().size(), 4u); // the press past the end is silent
    EXPECT_EQ(Yellow(), "[ EXIT ]");
}

TEST_F(TitleScreensTest, MenuLinesAreLaidOutDownTheScreen) {
    OpenMenu();
    const char* lines[] = {"1 Player Game (Black)", "1 Player Game (White)", "2 Players Game",
                           "Config", "[ EXIT ]"};
    for (int i = 0; i < 5; ++i) {
        const TTextItem* item = Rig.FindText(lines[i]);
        ASSERT_NE(item, nullptr) << lines[i];
        EXPECT_EQ(item->Top, 288 + 28 * i);
        EXPECT_EQ(item->Height, 24);
        EXPECT_EQ(item->Colour, i == 0 ? 0x00FFFFu : 0x808080u);
    }
    EXPECT_EQ(Rig.FindText("PUSH SPACE KEY"), nullptr);
    EXPECT_NE(Rig.FindText("Octavane"), nullptr);
}

TEST_F(TitleScreensTest, EnterGoesBackToTheTitleAndWinsOverSpace) {
    OpenMenu();
    Rig.Frame({keySpace, keyEnter});
    EXPECT_EQ(g_titleState, tsTitle);
    EXPECT_EQ(g_scene, sceneTitle);
}

TEST_F(TitleScreensTest, OnePlayerLinesChooseTheColoursAndOpenTheLevelsOnNormal) {
    OpenMenu();
    g_levelCursor = 17;
    Rig.Press(keySpace);
    EXPECT_EQ(g_titleState, tsLevel);
    EXPECT_EQ(g_levelCursor, 4);
    EXPECT_EQ(g_playerType[cellBlack], playerHuman);
    EXPECT_EQ(g_playerType[cellWhite], playerComputer);
    ASSERT_EQ(Rig.Sounds().size(), 1u);
    EXPECT_EQ(Rig.Sounds()[0].Id, sndMove2);
    EXPECT_EQ(Yellow(), "Normal");

    Rig.Press(keyEnter);
    EXPECT_EQ(g_titleState, tsMenu);
    Rig.Press(keyDown);
    Rig.Press(keySpace);
    EXPECT_EQ(g_titleState, tsLevel);
    EXPECT_EQ(g_playerType[cellBlack], playerComputer);
    EXPECT_EQ(g_playerType[cellWhite], playerHuman);
}

TEST_F(TitleScreensTest, TwoPlayersStartsAtOnceSilentlyAndKeepsTheLevel) {
    g_sage.SetLevel(8);
    OpenMenu();
    Rig.Press(keyDown, 2);
    Rig.ClearSounds();
    Rig.Clock.Advance(30);
    Rig.Frame({keySpace});
    EXPECT_EQ(g_scene, sceneGame);
    EXPECT_EQ(g_gameState, gsStart);
    EXPECT_EQ(g_stateTime, Rig.Clock.Now());
    EXPECT_EQ(g_playerType[cellBlack], playerHuman);
    EXPECT_EQ(g_playerType[cellWhite], playerHuman);
    EXPECT_EQ(g_sage.GetLevel(), 8);
    EXPECT_TRUE(Rig.Sounds().empty());
}

int g_closeRequests = 0;

TEST_F(TitleScreensTest, ExitAsksTheProgramToCloseAndFinishesTheFrame) {
    g_closeRequests = 0;
    SetCloseHandler([] { ++g_closeRequests; });
    OpenMenu();
    Rig.Press(keyDown, 4);
    EXPECT_EQ(g_closeRequests, 0);
    Rig.ClearSounds();
    Rig.Frame({keySpace});
    SetCloseHandler(nullptr);
    EXPECT_EQ(g_closeRequests, 1);
    // The close comes between frames: this one still drew its text and models.
    EXPECT_NE(Rig.FindText("[ EXIT ]"), nullptr);
    EXPECT_EQ(Rig.Log().CountOf(callBeginScene), 65u);
    EXPECT_TRUE(Rig.Sounds().empty());
    EXPECT_EQ(g_scene, sceneTitle);
}

// --- The level list ---

TEST_F(TitleScreensTest, LevelCursorWalksThroughExpertToExtremePlus) {
    OpenLevels(0);
    Rig.Press(keyDown, 3);
    EXPECT_EQ(Yellow(), "Expert");
    const TTextItem* expert = Rig.FindText("Expert");
    ASSERT_NE(expert, nullptr);
    EXPECT_EQ(expert->Top, 412);
    EXPECT_EQ(expert->Height, 20);
    // "Expert" holds the cursor for six presses.
    for (int press = 0; press < 5; ++press) {
        Rig.Press(keyDown);
        EXPECT_EQ(Yellow(), "Expert") << press;
        EXPECT_EQ(Rig.FindText("Extreme"), nullptr);
    }
    Rig.Press(keyDown); // the ninth press
    const TTextItem* extreme = Rig.FindText("Extreme");
    ASSERT_NE(extreme, nullptr);
    EXPECT_EQ(extreme->Top, 408);
    EXPECT_EQ(extreme->Height, 24);
    EXPECT_EQ(extreme->Colour, 0x0000FFu);
    EXPECT_EQ(Rig.FindText("Expert"), nullptr);
    Rig.Press(keyDown, 6); // the fifteenth
    const TTextItem* plus = Rig.FindText("Extreme+");
    ASSERT_NE(plus, nullptr);
    EXPECT_EQ(plus->Top, 406);
    EXPECT_EQ(plus->Height, 30);
    EXPECT_EQ(plus->Colour, 0xFF0080u);
    EXPECT_EQ(g_levelCursor, 19);
    Rig.ClearSounds();
    Rig.Press(keyDown, 3); // further presses stay but still sound
    EXPECT_EQ(g_levelCursor, 19);
    ASSERT_EQ(Rig.Sounds().size(), 3u);
    EXPECT_EQ(Rig.Sounds()[2].Id, sndMove2);
}

TEST_F(TitleScreensTest, LevelListLayoutAndUnselectedLinesAreGrey) {
    OpenLevels(0);
    const char* names[] = {"Poor", "Very Easy", "Easy", "Normal", "Hard", "Very Hard"};
    const TTextItem* heading = Rig.FindText("Level");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->Top, 276);
    for (int i = 0; i < 6; ++i) {
        const TTextItem* item = Rig.FindText(names[i]);
        ASSERT_NE(item, nullptr) << names[i];
        EXPECT_EQ(item->Top, 304 + 18 * i);
        EXPECT_EQ(item->Height, i == 3 ? 20 : 16);
        EXPECT_EQ(item->Colour, i == 3 ? 0x00FFFFu : 0x808080u);
    }
    const TTextItem* expert = Rig.FindText("Expert");
    ASSERT_NE(expert, nullptr);
    EXPECT_EQ(expert->Colour, 0x808080u);
    EXPECT_EQ(expert->Height, 16);
}

TEST_F(TitleScreensTest, UpAtTheTopOfTheLevelsStillSounds) {
    OpenLevels(0);
    Rig.Press(keyUp, 5);
    EXPECT_EQ(g_levelCursor, 1);
    ASSERT_EQ(Rig.Sounds().size(), 5u);
    for (const TSoundRequest& sound : Rig.Sounds()) {
        EXPECT_EQ(sound.Id, sndMove);
    }
    EXPECT_EQ(Yellow(), "Poor");
}

TEST_F(TitleScreensTest, EveryCursorPositionGivesItsEngineLevel) {
    const int expected[20] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 9};
    for (int cursor = 1; cursor <= 19; ++cursor) {
        g_scene = sceneTitle;
        g_titleState = tsInit;
        OpenLevels(0);
        g_sage.SetLevel(5);
        for (int press = 4; press < cursor; ++press) {
            Rig.Press(keyDown);
        }
        for (int press = cursor; press < 4; ++press) {
            Rig.Press(keyUp);
        }
        Rig.ClearSounds();
        Rig.Frame({keySpace});
        EXPECT_EQ(g_sage.GetLevel(), expected[cursor]) << "cursor " << cursor;
        EXPECT_EQ(g_scene, sceneGame);
        EXPECT_EQ(g_gameState, gsStart);
        EXPECT_TRUE(Rig.Sounds().empty());
    }
}

TEST_F(TitleScreensTest, EnterLeavesTheLevelsForTheMenu) {
    OpenLevels(1);
    Rig.Press(keyEnter);
    EXPECT_EQ(g_titleState, tsMenu);
    EXPECT_EQ(g_scene, sceneTitle);
}

// --- The configuration ---

TEST_F(TitleScreensTest, ConfigOpensOnBackAndShowsTheSettings) {
    BoardR = 3;
    BoardG = 10;
    BoardB = 0;
    FogEnable = 0;
    OpenConfig();
    EXPECT_EQ(g_titleState, tsConfig);
    EXPECT_EQ(g_configCursor, 4);
    EXPECT_EQ(Yellow(), "[BACK]");
    const char* lines[] = {"R - [ 3]", "G - [10]", "B - [ 0]", "Fog - [Off]", "[BACK]"};
    for (int i = 0; i < 5; ++i) {
        const TTextItem* item = Rig.FindText(lines[i]);
        ASSERT_NE(item, nullptr) << lines[i];
        EXPECT_EQ(item->Top, 304 + 18 * i);
        EXPECT_EQ(item->Height, 16);
    }
    ASSERT_NE(Rig.FindText("Config"), nullptr);
    EXPECT_EQ(Rig.FindText("Config")->Top, 276);
}

TEST_F(TitleScreensTest, LeftAndRightStepTheColourWithinItsRange) {
    BoardR = 0;
    BoardG = 7;
    BoardB = 9;
    OpenConfig();
    Rig.Press(keyUp, 4); // to "R"
    EXPECT_EQ(g_configCursor, 0);
    Rig.Press(keyLeft);
    EXPECT_EQ(BoardR, 0);
    Rig.Press(keyRight, 2);
    EXPECT_EQ(BoardR, 2);
    Rig.Press(keyDown);
    Rig.Press(keyLeft, 3);
    EXPECT_EQ(BoardG, 4);
    Rig.Press(keyDown);
    Rig.Press(keyRight, 3);
    EXPECT_EQ(BoardB, 10);
    EXPECT_NE(Rig.FindText("B - [10]"), nullptr);
    // Left and Right make no sound; Up and Down do.
    for (const TSoundRequest& sound : Rig.Sounds()) {
        EXPECT_TRUE(sound.Id == sndMove || sound.Id == sndMove2);
    }
    EXPECT_EQ(Rig.Sounds().size(), 6u);
}

TEST_F(TitleScreensTest, TheBoardColourIsAppliedAfterEveryLeftOrRight) {
    BoardR = 0;
    BoardG = 7;
    BoardB = 7;
    OpenConfig();
    TRgb drawn = BoardColourDrawn(Rig.Log());
    EXPECT_EQ(drawn.R, 0);
    EXPECT_EQ(drawn.G, 178);
    EXPECT_EQ(drawn.B, 178);
    // Settings changed behind the screen's back show only once Left or Right re-applies them,
    // even on [BACK] where the keys change nothing else.
    BoardR = 10;
    Rig.Frame();
    EXPECT_EQ(BoardColourDrawn(Rig.Log()).R, 0);
    Rig.Frame({keyLeft});
    EXPECT_EQ(BoardColourDrawn(Rig.Log()).R, 255);
    BoardG = 1;
    Rig.Frame({keyRight});
    EXPECT_EQ(BoardColourDrawn(Rig.Log()).G, 25);
    EXPECT_EQ(BoardR, 10);
    EXPECT_EQ(g_configCursor, 4);
}

TEST_F(TitleScreensTest, AStoredStepAboveTenIsUsedAndOnlyLowered) {
    BoardR = 50;
    OpenConfig();
    EXPECT_EQ(BoardColourDrawn(Rig.Log()).R, 50 * 255 / 10);
    Rig.Press(keyUp, 4);
    Rig.Press(keyRight);
    EXPECT_EQ(BoardR, 50);
    Rig.Press(keyLeft);
    EXPECT_EQ(BoardR, 49);
}

TEST_F(TitleScreensTest, FogTogglesWithLeftRightAndSpace) {
    FogEnable = 0;
    OpenConfig();
    Rig.Press(keyUp);
    EXPECT_EQ(g_configCursor, 3);
    Rig.Press(keyLeft);
    EXPECT_EQ(FogEnable, 1);
    EXPECT_NE(Rig.FindText("Fog - [On]"), nullptr);
    Rig.Press(keyRight);
    EXPECT_EQ(FogEnable, 0);
    Rig.Press(keySpace);
    EXPECT_EQ(FogEnable, 1);
    FogEnable = 5; // any non-zero value reads as on and toggles to off
    Rig.Press(keySpace);
    EXPECT_EQ(FogEnable, 0);
    EXPECT_EQ(g_titleState, tsConfig);
}

TEST_F(TitleScreensTest, SpaceOnAColourLineDoesNothingAndOnBackReturns) {
    BoardR = 4;
    OpenConfig();
    Rig.Press(keyUp, 4);
    Rig.Press(keySpace);
    EXPECT_EQ(BoardR, 4);
    EXPECT_EQ(g_titleState, tsConfig);
    Rig.Press(keyDown, 4);
    Rig.Press(keySpace);
    EXPECT_EQ(g_titleState, tsMenu);
    EXPECT_EQ(g_menuCursor, 3); // the menu keeps its line
    Rig.Press(keySpace);
    EXPECT_EQ(g_titleState, tsConfig);
    Rig.Press(keyEnter);
    EXPECT_EQ(g_titleState, tsMenu);
}

TEST_F(TitleScreensTest, ConfigCursorStopsAtItsEndsButAlwaysSounds) {
    OpenConfig();
    Rig.Press(keyDown, 2);
    EXPECT_EQ(g_configCursor, 4);
    Rig.Press(keyUp, 7);
    EXPECT_EQ(g_configCursor, 0);
    EXPECT_EQ(Rig.Sounds().size(), 9u);
    EXPECT_EQ(Rig.Sounds().back().Id, sndMove);
}

} // namespace

namespace {

// Leaving the configuration (Space on [BACK], or Enter) saves at once; nothing is saved
// before the settings were loaded.
TEST(TitleScreensSaveTest, LeavingTheConfigurationSavesTheSettings) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("octavane-title-save-" + std::to_string(::getpid()));
    const std::string file = (dir / "settings.reg").string();
    const auto stored = [&] {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const bool byEnter : {false, true}) {
        SCOPED_TRACE(byEnter ? "Enter" : "Space on [BACK]");
        std::filesystem::remove_all(dir);
        TScreenRig rig;
        ResetSettings();
        rig.Frame();
        rig.Press(keySpace);
        rig.Press(keyDown, 3);
        rig.Press(keySpace); // the configuration
        rig.Press(keyUp, 4);
        rig.Press(keyRight); // red 1
        rig.Press(keyDown, 4);
        rig.Press(byEnter ? keyEnter : keySpace);
        EXPECT_FALSE(std::filesystem::exists(file)) << "saved before the settings were loaded";
        LoadSettingsFrom(file); // there is none yet: red stays 1
        rig.Press(keySpace);
        rig.Press(byEnter ? keyEnter : keySpace); // the configuration opens on [BACK]
        EXPECT_EQ(g_titleState, tsMenu);
        EXPECT_NE(stored().find("\"BoardR\"=dword:00000001"), std::string::npos) << stored();
        ResetSettings();
    }
    std::filesystem::remove_all(dir);
}

} // namespace
