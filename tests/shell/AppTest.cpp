#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "ShellFakes.h"
#include "app/App.h"
#include "device/Input.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "game/GameState.h"
#include "platform/KeyState.h"

namespace fs = std::filesystem;

namespace {

// Each test runs WinMain on the fake platform, with the settings in a directory of its own
// and a frame procedure that the test scripts.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Current = this;
        Dir = fs::temp_directory_path() /
              ("octavane-app-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
        ResetSettings();
        g_scene = sceneTitle;
        g_titleState = tsInit;
        g_gameState = gsStart;
        g_stateTime = 0;
        Keyboard().ReleaseAll();
    }
    void TearDown() override {
        fs::remove_all(Dir);
        Current = nullptr;
        ResetSettings();
    }
    fs::path SettingsFile() const { return Dir / "Bellwick" / "Octavane" / "settings.reg"; }

    // The scripted frame: logs, lets the test act, and ends the run after MaxFrames.
    static void Frame() {
        AppTest& t = *Current;
        t.Platform.Log.push_back("frame");
        ++t.Frames;
        if (t.OnFrame) {
            t.OnFrame(t.Frames);
        }
        if (t.Frames >= t.MaxFrames) {
            t.Platform.EventSource.PushClose();
        }
    }
    int Run() { return WinMain(Platform, Frame); }

    static AppTest* Current;
    fs::path Dir;
    TFakePlatform Platform;
    TScopedClock UseClock{Platform.Clock};
    int Frames = 0;
    int MaxFrames = 3;
    std::function<void(int)> OnFrame;
};

AppTest* AppTest::Current = nullptr;

TEST_F(AppTest, RunsFramesAndQuitsWithCodeZero) {
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Frames, 3);
    // The close is handled before any further frame: cursor back on, then the window goes.
    const std::vector<std::string> expected = {"create window", "cursor off", "frame", "sleep",
                                               "frame",         "sleep",      "frame", "sleep",
                                               "cursor on",     "destroy"};
    EXPECT_EQ(Platform.Log, expected);
}

TEST_F(AppTest, DevicesAreSetUpInsideWindowCreation) {
    g_sinTable[8] = 0.0;
    OnFrame = [](int) {
        // By the first frame the sine table is filled.
        EXPECT_DOUBLE_EQ(StepSin(8), 1.0);
    };
    EXPECT_EQ(Run(), 0);
}

TEST_F(AppTest, FirstRunKeepsDefaultsAndWritesTheFileAtExit) {
    OnFrame = [this](int) { EXPECT_FALSE(fs::exists(SettingsFile())); };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(BoardG, 7);
    ASSERT_TRUE(fs::exists(SettingsFile()));
    ResetSettings();
    BoardG = 0;
    LoadSettings();
    EXPECT_EQ(BoardG, 7);
}

TEST_F(AppTest, SettingsAreLoadedAfterTheWindowAndSavedAfterTheLoop) {
    fs::create_directories(SettingsFile().parent_path());
    std::ofstream(SettingsFile()) << "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
                                     "\"BoardR\"=dword:00000008\n";
    int boardRInCreate = -1;
    Platform.Window.OnShowCursor = [&](bool visible) {
        if (!visible) {
            boardRInCreate = BoardR; // WM_CREATE: the settings are not read yet
        }
    };
    OnFrame = [](int frame) {
        EXPECT_EQ(BoardR, 8); // loaded before the first frame
        if (frame == 2) {
            FogEnable = 1; // what the configuration screen would do
        }
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(boardRInCreate, 0);
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(BoardR, 8);
    EXPECT_EQ(FogEnable, 1);
}

TEST_F(AppTest, WindowThatCannotBeMadeEndsAtOnceAndTouchesNoSettings) {
    Platform.CanCreate = false;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run(), 0);
    // The platform says why the window could not be made; the shell adds no second line.
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(Frames, 0);
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

TEST_F(AppTest, FailedGraphicsSetUpClosesTheWindowAndReportsFailure) {
    Platform.Screen.FailAt(presentSetDisplayMode, DDERR_INVALIDMODE, "no such mode");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run(), 0);
    // One line, naming the step that failed.
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("no such mode"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(Frames, 0);
    const std::vector<std::string> expected = {"create window", "cursor off", "cursor on",
                                               "destroy"};
    EXPECT_EQ(Platform.Log, expected);
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

TEST_F(AppTest, UnwritableSettingsStillQuitCleanly) {
    std::ofstream(Dir.string() + "-file") << "x";
    ::setenv("XDG_CONFIG_HOME", (Dir.string() + "-file").c_str(), 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("settings not saved"),
              std::string::npos);
    fs::remove(Dir.string() + "-file");
}

// --- Escape ----------------------------------------------------------------------------------

TEST_F(AppTest, EscapeQuitsFromEveryTitleScreen) {
    for (int state : {tsInit, tsTitle, tsMenu, tsLevel, tsConfig}) {
        Platform.Log.clear();
        Frames = 0;
        MaxFrames = 100;
        OnFrame = [this, state](int frame) {
            if (frame == 1) {
                g_titleState = state;
                Platform.Clock.Set(7000);
                Platform.EventSource.PushEscape();
            }
        };
        g_scene = sceneTitle;
        EXPECT_EQ(Run(), 0) << state;
        EXPECT_EQ(Frames, 1) << "no frame after Escape in title state " << state;
        EXPECT_EQ(g_stateTime, 7001u);
    }
}

TEST_F(AppTest, EscapeInTheGameReturnsToTheTitleThenQuits) {
    MaxFrames = 100;
    OnFrame = [this](int frame) {
        if (frame == 1) {
            g_scene = sceneGame;
            g_gameState = gsHuman;
            g_titleState = tsMenu;
            Platform.EventSource.PushEscape();
        }
        if (frame == 2) {
            EXPECT_EQ(g_scene, sceneTitle);
            EXPECT_EQ(g_titleState, tsInit);
            EXPECT_EQ(g_stateTime, GetTickCount());
            Platform.EventSource.PushEscape(); // the auto-repeat of the same held key
        }
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Frames, 2);
}

TEST_F(AppTest, OtherKeysDoNothing) {
    MaxFrames = 3;
    OnFrame = [this](int frame) {
        if (frame == 1) {
            Platform.EventSource.Pending.push_back(TMessage{nullptr, WM_KEYDOWN, VK_SPACE, 0});
        }
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Frames, 3);
}

TEST_F(AppTest, CloseRequestFromTheMenuEndsTheRunBetweenFrames) {
    MaxFrames = 100;
    OnFrame = [](int frame) {
        if (frame == 2) {
            RequestClose();
        }
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Frames, 2);
}

// --- The loop --------------------------------------------------------------------------------

std::vector<std::string>* g_timerLog = nullptr;
void LogTimer(uint32_t id) {
    g_timerLog->push_back("timer " + std::to_string(id));
}

TEST_F(AppTest, EveryWaitingMessageIsHandledBeforeTheNextFrame) {
    g_timerLog = &Platform.Log;
    MaxFrames = 4;
    OnFrame = [this](int frame) {
        if (frame == 1) {
            SetTimer(1, 0, LogTimer);
            SetTimer(2, 1, LogTimer); // due after the frame's 1 ms sleep
            SetTimer(3, 5, LogTimer);
        }
    };
    EXPECT_EQ(Run(), 0);
    const std::vector<std::string> expected = {"create window", "cursor off", "frame", "sleep",
                                               "timer 1",       "timer 2",    "frame", "sleep",
                                               "frame",         "sleep",      "frame", "sleep"};
    EXPECT_EQ(std::vector<std::string>(Platform.Log.begin(), Platform.Log.begin() + 12), expected);
}

TEST_F(AppTest, SecondRequestForOneSoundWithinTheDelayIsTheOnlyOneLeft) {
    MaxFrames = 400;
    std::vector<uint32_t> pendingAt;
    OnFrame = [&](int frame) {
        if (frame == 1) {
            PlaySoundLater(sndLeady, 100);
        }
        if (frame == 50) {
            PlaySoundLater(sndLeady, 100);
        }
        if (MainTimers().IsArmed(sndLeady + kSoundTimerBase)) {
            pendingAt.push_back(GetTickCount());
        }
    };
    EXPECT_EQ(Run(), 0);
    // Armed from the first request at 1000 until the second replaced it; fired once at 1149.
    ASSERT_FALSE(pendingAt.empty());
    EXPECT_EQ(pendingAt.front(), 1000u);
    EXPECT_EQ(pendingAt.back(), 1148u);
    EXPECT_EQ(pendingAt.size(), 149u); // one contiguous stretch, never re-armed by the first
}

TEST_F(AppTest, DestroyedWindowTakesNoFurtherClose) {
    MaxFrames = 1;
    OnFrame = [this](int) { Platform.EventSource.PushClose(); }; // two closes queued
    EXPECT_EQ(Run(), 0);
    int destroys = 0;
    for (const std::string& entry : Platform.Log) {
        destroys += entry == "destroy";
    }
    EXPECT_EQ(destroys, 1);
}

} // namespace
