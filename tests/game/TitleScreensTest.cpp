#include <filesystem>

#include "ScreenRig.h"
#include "TestFiles.h"
#include "platform/Version.h"

namespace {

int g_closeRequests = 0;

// The title waits for Space alone; it shows the major and minor numbers of the one version the
// program has, the one --version prints in full.
void OpenMenu(TScreenRig& rig) {
    for (int key : {keyEnter, keyControl, keyLeft, keyRight, keyUp, keyDown}) {
        rig.Press(key);
    }
    ASSERT_TRUE(g_titleState == tsTitle && rig.FindText("PUSH SPACE KEY"));
    EXPECT_EQ(PageControls().Shown(), 0u) << "a page control on the title";
    const std::string version = kVersionText;
    EXPECT_NE(rig.FindText("ver. " + version.substr(0, version.find('.', version.find('.') + 1))),
              nullptr);
    rig.Press(keySpace);
    EXPECT_EQ(PageControls().Shown(), PageControlBit(pageBack));
    rig.Sounds.clear();
}

// The cursor sounds only when it moves; Enter, a right click or the page's Back go back, and
// the page shows Back (and the level list's arrows) wherever there is somewhere to go back to.
TEST(TitleScreensTest, EveryMenuLineOpensItsScreen) {
    const std::tuple<int, int, int, int> rows[] = {
        {sceneTitle, tsLevel, playerHuman, playerComputer}, // 1 Player Game (Black)
        {sceneTitle, tsLevel, playerComputer, playerHuman}, // 1 Player Game (White)
        {sceneGame, tsMenu, playerHuman, playerHuman},      // 2 Players Game
        {sceneTitle, tsConfig, -1, -1},                     // Config
        {sceneTitle, tsMenu, -1, -1},                       // [ EXIT ]
    };
    SetCloseHandler([] { ++g_closeRequests; });
    for (int line = 0; line < 5; ++line) {
        const auto& [scene, titleState, black, white] = rows[line];
        SCOPED_TRACE(line);
        TScreenRig rig;
        g_closeRequests = 0;
        g_playerType[cellBlack] = g_playerType[cellWhite] = -1;
        OpenMenu(rig);
        rig.Press(keyUp);      // silent at the top
        rig.Press(keyDown, 5); // the last press silent at the bottom
        EXPECT_TRUE(rig.Sounds.size() == 4 && rig.FindText("[ EXIT ]", kYellow));
        rig.Press(keyUp, 4 - line);
        rig.Press(keySpace);
        EXPECT_TRUE(g_scene == scene && (scene == sceneGame || g_titleState == titleState) &&
                    g_closeRequests == (line == 4 ? 1 : 0));
        EXPECT_EQ(std::pair(g_playerType[cellBlack], g_playerType[cellWhite]),
                  std::pair(black, white));
        if (titleState == tsLevel) {
            EXPECT_NE(rig.FindText("Normal", kYellow), nullptr);
            EXPECT_EQ(PageControls().Shown(),
                      PageControlBit(pageBack) | PageControlBit(pageUp) | PageControlBit(pageDown));
            rig.Mouse({320, 20}, false, true); // a right click is Enter
            EXPECT_EQ(g_titleState, tsMenu);
            rig.Press(line == 0 ? keyEnter : keyBack);
            EXPECT_EQ(g_titleState, tsTitle);
            rig.Press(keyBack);
            EXPECT_TRUE(g_scene == sceneTitle && g_titleState == tsTitle);
        } else if (titleState == tsConfig) {
            EXPECT_EQ(PageControls().Shown(), PageControlBit(pageBack));
            rig.Press(keyBack);
            EXPECT_EQ(g_titleState, tsMenu);
        }
    }
    SetCloseHandler(nullptr);
}

// Reached by keys, by hovering over its line or by the wheel (a step a frame); the cursor stops
// at both ends, where the presses still sound. Master is larger, above the title's own lines.
TEST(TitleScreensTest, EveryLevelCursorShowsItsLineAndGivesItsEngineLevel) {
    const int levels[21] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 9, 10};
    const char* const names[] = {"Poor", "Very Easy", "Easy", "Normal", "Hard", "Very Hard"};
    for (int cursor = 1; cursor <= 20; ++cursor) {
        SCOPED_TRACE(cursor);
        TScreenRig rig;
        OpenMenu(rig);
        rig.Press(keySpace);
        rig.Press(keyUp, 5);
        rig.Press(keyDown, 18);
        rig.MouseNext.Wheel = -1; // towards the player: Down, from Extreme+ to Master
        rig.Frame();
        rig.Press(keyDown, 6);
        ASSERT_TRUE(g_levelCursor == 20 && rig.Sounds.size() == 31u) << "the presses at the ends";
        if (cursor <= 6 && cursor % 2 == 0) {
            rig.Mouse(rig.Line(names[cursor - 1]));
        } else if (cursor % 2 == 0 && cursor >= 11) {
            rig.MouseNext.Wheel = 20 - cursor; // away from the player: up, a step a frame
            rig.RunFor(20 * (20 - cursor));
        } else {
            rig.Press(keyUp, 20 - cursor);
        }
        const std::string line = cursor <= 6    ? names[cursor - 1]
                                 : cursor <= 12 ? "Expert"
                                 : cursor <= 18 ? "Extreme"
                                 : cursor == 19 ? "Extreme+"
                                                : "Master";
        const uint32_t colour = cursor <= 12   ? kYellow
                                : cursor <= 18 ? kColourRed
                                : cursor == 19 ? kColourViolet
                                               : kColourAzure;
        EXPECT_EQ(g_levelCursor, cursor);
        const TTextCall* drawn = rig.FindText(line, colour);
        ASSERT_NE(drawn, nullptr) << line;
        if (cursor == 20) {
            EXPECT_GT(rig.FontHeight(*drawn), rig.FontHeight(*rig.FindText("Very Hard")));
            EXPECT_LE(drawn->Rect.top + rig.FontHeight(*drawn), 440) << "over the title's lines";
        }
        cursor == 3 || cursor == 20 ? rig.Mouse(rig.Line(line), true) : rig.Frame({keySpace});
        EXPECT_EQ(g_sage.GetLevel(), levels[cursor]);
        EXPECT_EQ(g_scene, sceneGame);
    }
}

// A click on a line's left or right half is Left or Right; a stored step above 10 only goes
// down. Leaving saves at once, once the settings were loaded.
TEST(TitleScreensTest, TheConfigurationStepsTheColoursAndTheFogAndSavesOnLeaving) {
    const std::filesystem::path dir = MakeTempFolder("octavane-config");
    ASSERT_FALSE(dir.empty());
    const std::string file = (dir / "settings.reg").string();
    TScreenRig rig;
    BoardB = 50;
    OpenMenu(rig);
    rig.Press(keyDown, 3);
    rig.Press(keySpace);
    EXPECT_NE(rig.FindText("[BACK]", kYellow), nullptr);
    const TTextCall* back = rig.FindText("[BACK]");
    const TTextCall* speed = rig.FindText("Speed - [Normal]");
    ASSERT_TRUE(back && speed);
    EXPECT_EQ(back->Rect.top - speed->Rect.top, 18) << "[BACK] right under the speed";
    rig.Press(keyUp, 5); // from [BACK]
    // Each line from the top: the value it steps, and each key with its presses and the value
    // after them; a Down goes on to the next line, and stays on [BACK], the last.
    const std::pair<int32_t*, std::vector<std::tuple<int, int, int32_t>>> lines[] = {
        {&BoardR, {{keyLeft, 8, 0}, {keyRight, 2, 2}}},
        {&BoardG, {{keyLeft, 3, 4}, {keyRight, 9, 10}}},
        {&BoardB, {{keyRight, 1, 50}, {keyLeft, 1, 49}}},
        {&FogEnable, {{keyLeft, 1, 1}, {keyRight, 1, 0}, {keySpace, 1, 1}}},
        {&AnimationSpeed,
         {{keyLeft, 1, speedFast}, {keyRight, 1, speedNormal}, {keySpace, 1, speedFast}}},
        {&AnimationSpeed, {{keyDown, 4, speedFast}, {keyLeft, 1, speedFast}}}};
    for (const auto& [value, presses] : lines) {
        for (const auto& [key, times, expected] : presses) {
            rig.Press(key, times);
            EXPECT_EQ(*value, expected) << key;
        }
        rig.Press(keyDown);
    }
    rig.Mouse({100, rig.Line("G - [10]").Y}, true); // the left half of a line steps down
    rig.Mouse({500, rig.Line("Fog - [On]").Y}, true);
    EXPECT_NE(rig.FindText("Speed - [Fast]"), nullptr);
    rig.Mouse({100, rig.Line("Speed - [Fast]").Y}, true); // a click on the speed toggles it
    EXPECT_TRUE(BoardG == 9 && FogEnable == 0 && AnimationSpeed == speedNormal);
    rig.Mouse({100, rig.Line("Speed - [Normal]").Y}, true);
    rig.Press(keyEnter);
    EXPECT_FALSE(std::filesystem::exists(file)) << "saved before the settings were loaded";
    LoadSettingsFrom(file); // none there yet: the steps stay
    rig.Press(keySpace);
    rig.Press(keySpace); // on [BACK]
    EXPECT_EQ(g_titleState, tsMenu);
    const std::string stored = ReadFileBytes(file);
    EXPECT_NE(stored.find("\"BoardR\"=dword:00000002"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\"BoardB\"=dword:00000031"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\"AnimationSpeed\"=dword:00000001"), std::string::npos) << stored;
    std::filesystem::remove_all(dir);
}

} // namespace
