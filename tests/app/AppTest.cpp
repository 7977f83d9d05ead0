#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "TestFiles.h"
#include "app/App.h"
#include "device/Settings.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "platform/WindowMessages.h"
#include "platform/recording/RecordingDevice3D.h"
#include "platform/recording/RecordingPresent.h"
#include "platform/recording/RecordingText.h"

namespace fs = std::filesystem;

namespace {

class TFakeWindow final : public TWindow {
  public:
    void ShowCursor(bool visible) override { Log->push_back(visible ? "cursor on" : "cursor off"); }
    void Destroy() override { Log->push_back("destroy"); }
    std::vector<std::string>* Log = nullptr;
};

// Messages queued by the test, a clock each sleep moves on, and recording devices.
class TFakePlatform final : public TAppPlatform, public TEventSource {
  public:
    TFakePlatform() { Window.Log = &Log; }
    TWindow* CreateMainWindow() override { return CanCreate ? &Window : nullptr; }
    TEventSource* Events() override { return this; }
    bool Next(TMessage& message) override {
        if (Pending.empty()) {
            return false;
        }
        message = {nullptr, Pending.front(), 0, 0};
        Pending.erase(Pending.begin());
        return true;
    }
    TJoystickSource* Joysticks() override { return nullptr; }
    TAudioSource* Audio() override { return nullptr; }
    TPresenter* Presenter() override { return &Screen; }
    void Sleep(uint32_t ms) override {
        Log.push_back("sleep");
        Clock.Advance(ms);
    }
    std::vector<std::string> Log;
    std::vector<uint32_t> Pending; // messages without parameters
    TFakeWindow Window;
    TManualClock Clock{1000};
    bool CanCreate = true;
    TRecordingLog GraphicsLog;
    TRecordingDirect3D Direct3D{GraphicsLog};
    TRecordingText Text;
    TRecordingPresenter Screen{&Direct3D, &Text};
};

// OctavaneWinMain on the fake platform, with settings of its own and a scripted frame.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Current = this;
        Dir = MakeTempFolder("octavane-app");
        ASSERT_FALSE(Dir.empty());
        UseSettingsFileForTests(SettingsFile().string());
        ResetSettings();
    }
    void TearDown() override {
        fs::remove_all(Dir);
        UseSettingsFileForTests("");
        ResetSettings();
    }
    fs::path SettingsFile() const { return Dir / "Bellwick" / "Octavane" / "settings.reg"; }

    // Closes at the third frame, or failing that at the 1000th.
    static void Frame() {
        AppTest& t = *Current;
        t.Platform.Log.push_back("frame");
        t.OnFrame(++t.Frames);
        if (t.Frames == 3 || t.Frames == 1000) {
            t.Platform.Pending.push_back(WM_CLOSE);
        }
        EXPECT_LT(t.Frames, 1000) << "the run did not end";
    }
    int Run() { return OctavaneWinMain(Platform, Frame); }

    inline static AppTest* Current = nullptr;
    fs::path Dir;
    TFakePlatform Platform;
    TScopedClock UseClock{Platform.Clock};
    int Frames = 0;
    std::function<void(int)> OnFrame = [](int) {};
};

// Settings read before the first frame, written after a close that ends the frames at once.
TEST_F(AppTest, SettingsAreReadBeforeTheFirstFrameAndWrittenAtTheClose) {
    fs::create_directories(SettingsFile().parent_path());
    std::ofstream(SettingsFile()) << "Windows Registry Editor Version 5.00\n\n"
                                     "[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"
                                     "\"BoardR\"=dword:00000008\n";
    OnFrame = [](int frame) {
        EXPECT_EQ(BoardR, 8);
        FogEnable = frame == 2 ? 1 : FogEnable; // what the configuration screen would do
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Frames, 3);
    const char* tail[] = {"frame", "sleep", "cursor on", "destroy"};
    EXPECT_TRUE(std::equal(tail, tail + 4, Platform.Log.end() - 4));
    EXPECT_EQ(std::count(Platform.Log.begin(), Platform.Log.end(), "destroy"), 1);
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(std::tuple(BoardR, FogEnable, BoardG), std::tuple(8, 1, 7));
}

// No window, or no graphics: no frame, the window made closed, no settings written.
TEST_F(AppTest, AFailedStartEndsAtOnceAndWritesNoSettings) {
    for (const bool window : {false, true}) {
        Platform.CanCreate = window;
        if (window) {
            Platform.Screen.FailAt(presentSetDisplayMode, DDERR_INVALIDMODE, "no such mode");
        }
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Run(), 0);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(Frames, 0);
        EXPECT_EQ(Platform.Log.empty() ? "" : Platform.Log.back(), window ? "destroy" : "");
        EXPECT_FALSE(fs::exists(SettingsFile()));
    }
}

// The pointer shows on a motion and hides two seconds after the last; without one, never.
TEST(MousePointer, ShowsWhileTheMouseMovesAndHidesTwoSecondsAfter) {
    std::vector<std::string> log;
    TFakeWindow window;
    window.Log = &log;
    ForgetMousePointer();
    for (const uint32_t now : {0, 5000, 6000, 6500, 8499, 8500, 9000, 9100}) {
        UpdateMousePointer(&window, now == 6000 || now == 6500 || now == 9100, now); // moved?
    }
    EXPECT_EQ(log, (std::vector<std::string>{"cursor on", "cursor off", "cursor on"}));
}

} // namespace
