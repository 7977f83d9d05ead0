#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "app/SdlAppPlatform.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "device/Wave.h"
#include "game/GameState.h"
#include "platform/KeyState.h"

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// Mesa's GL driver (unloaded before exit) and fontconfig keep allocations that LeakSanitizer
// cannot attribute; leaks of our own code are checked by the headless test programs.
extern "C" const char* __lsan_default_options() {
    return "detect_leaks=0";
}
#endif

namespace {

// SDL started on its headless drivers for every test here.
class SdlTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
    void SetUp() override {
        ASSERT_TRUE(Sdl.IsReady()) << Sdl.Error();
        Keyboard().ReleaseAll();
    }
    void TearDown() override { Keyboard().ReleaseAll(); }
    TSdlSystem Sdl;
};

void PushKey(Uint32 type, SDL_Keycode key, bool repeat = false, Uint16 mod = KMOD_NONE,
             Uint32 windowId = 0) {
    SDL_Event event{};
    event.key.windowID = windowId;
    event.key.keysym.mod = mod;
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

std::vector<TMessage> DrainEvents(TSdlEventSource& source) {
    std::vector<TMessage> messages;
    TMessage message;
    while (source.Next(message)) {
        messages.push_back(message);
    }
    return messages;
}

TEST_F(SdlTest, EscapeDownsAndRepeatsBecomeKeyDownMessages) {
    TSdlEventSource source;
    DrainEvents(source);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, true);
    PushKey(SDL_KEYUP, SDLK_ESCAPE);
    const auto messages = DrainEvents(source);
    ASSERT_EQ(messages.size(), 2u);
    for (const TMessage& message : messages) {
        EXPECT_EQ(message.Message, WM_KEYDOWN);
        EXPECT_EQ(message.WParam, uint64_t(VK_ESCAPE));
    }
}

TEST_F(SdlTest, SystemCloseBecomesWmClose) {
    TSdlEventSource source;
    DrainEvents(source);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    const auto messages = DrainEvents(source);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Message, WM_CLOSE);
}

TEST_F(SdlTest, KeyEventsAreRecordedWithoutMessages) {
    TSdlEventSource source;
    DrainEvents(source);
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    PushKey(SDL_KEYDOWN, SDLK_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_RCTRL);
    PushKey(SDL_KEYDOWN, SDLK_KP_ENTER);
    EXPECT_TRUE(DrainEvents(source).empty());
    EXPECT_TRUE(Keyboard().IsDown(VK_SPACE));
    EXPECT_TRUE(Keyboard().IsDown(VK_LEFT));
    EXPECT_TRUE(Keyboard().IsDown(VK_CONTROL));
    EXPECT_TRUE(Keyboard().IsDown(VK_RETURN));
    PushKey(SDL_KEYUP, SDLK_LEFT);
    DrainEvents(source);
    EXPECT_FALSE(Keyboard().IsDown(VK_LEFT));
    EXPECT_TRUE(Keyboard().IsDown(VK_SPACE));
}

// F11 and Alt+Enter switch a window made with --window to full screen and back, at any moment;
// the game never sees them, and their auto-repeats change nothing.
TEST_F(SdlTest, F11AndAltEnterSwitchFullScreenAndNeverReachTheGame) {
    const auto window = TSdlWindow::Create("Octavane", true);
    ASSERT_NE(window, nullptr);
    TSdlEventSource source;
    DrainEvents(source);
    const struct {
        SDL_Keycode Key;
        Uint16 Mod;
        bool Repeat;
        bool FullScreenAfter;
    } rows[] = {
        {SDLK_F11, KMOD_NONE, false, true},     {SDLK_F11, KMOD_NONE, true, true},
        {SDLK_RETURN, KMOD_LALT, false, false}, {SDLK_KP_ENTER, KMOD_RALT, false, true},
        {SDLK_RETURN, KMOD_RALT, true, true},   {SDLK_F11, KMOD_LCTRL, false, false},
        {SDLK_RETURN, KMOD_NONE, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        PushKey(SDL_KEYDOWN, row.Key, row.Repeat, row.Mod, SDL_GetWindowID(window->Handle()));
        EXPECT_TRUE(DrainEvents(source).empty());
        EXPECT_EQ((SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_FULLSCREEN) != 0,
                  row.FullScreenAfter);
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window->Handle(), &width, &height);
        EXPECT_TRUE(row.FullScreenAfter || (width == kWindowedWidth && height == kWindowedHeight));
        // Only a plain Enter is the game's.
        EXPECT_EQ(Keyboard().IsDown(VK_RETURN), row.Key == SDLK_RETURN && row.Mod == KMOD_NONE);
        PushKey(SDL_KEYUP, row.Key, false, row.Mod);
        DrainEvents(source);
    }
}

TEST_F(SdlTest, AxisScalesToPlusMinusThousand) {
    EXPECT_EQ(ScaleSdlAxis(0), 0);
    EXPECT_EQ(ScaleSdlAxis(32767), 1000);
    EXPECT_EQ(ScaleSdlAxis(-32768), -1000);
    EXPECT_EQ(ScaleSdlAxis(16384), 500); // half deflection: not yet a press
    EXPECT_EQ(ScaleSdlAxis(16417), 501);
    EXPECT_EQ(ScaleSdlAxis(-16417), -501);
}

TEST_F(SdlTest, NoJoystickAttachedGivesNone) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0 && SDL_NumJoysticks() > 0) {
        GTEST_SKIP() << "a joystick is attached to this machine";
    }
    TSdlJoystickSource source;
    EXPECT_EQ(source.OpenFirstAttached(), nullptr);
}

TEST_F(SdlTest, MixerPlaysTheShippedEffectsOnTheirChannels) {
    TSdlAudioSource audio;
    std::unique_ptr<TMixer> mixer = audio.Open(sndCount);
    ASSERT_NE(mixer, nullptr) << "the dummy audio driver should always open";
    TWave wave;
    ASSERT_EQ(ReadWaveFile(std::string(OCTAVANE_ASSETS_DIR) + "/Sound/Drop.wav", wave),
              TWaveError::None);
    const auto chunk = mixer->CreateChunk(wave.Format, wave.Samples);
    ASSERT_NE(chunk, nullptr);
    mixer->Halt(18);
    EXPECT_TRUE(mixer->Play(18, *chunk));
    EXPECT_TRUE(mixer->Play(0, *chunk)); // a second voice of the same samples
}

TEST_F(SdlTest, MixerConvertsOtherPcmLayouts) {
    TSdlAudioSource audio;
    std::unique_ptr<TMixer> mixer = audio.Open(sndCount);
    ASSERT_NE(mixer, nullptr);
    TWaveFormat format{WAVE_FORMAT_PCM, 2, 8000, 16000, 2, 8, 0};
    const std::vector<uint8_t> samples(800, 128);
    EXPECT_NE(mixer->CreateChunk(format, samples), nullptr);
    format = TWaveFormat{WAVE_FORMAT_IEEE_FLOAT, 1, 48000, 192000, 4, 32, 0};
    EXPECT_NE(mixer->CreateChunk(format, std::vector<uint8_t>(400, 0)), nullptr);
    format = TWaveFormat{2, 1, 8000, 4000, 256, 4, 0}; // ADPCM
    EXPECT_EQ(mixer->CreateChunk(format, samples), nullptr);
}

// The whole program on the real SDL platform, ended by Escape key events pushed by the frame.
class SdlProgramTest : public SdlTest {
  protected:
    void SetUp() override {
        SdlTest::SetUp();
        Dir = fs::temp_directory_path() / ("octavane-sdl-" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
        Previous = fs::current_path();
        fs::current_path(OCTAVANE_ASSETS_DIR);
        ResetSettings();
        g_scene = sceneTitle;
        Frames = 0;
    }
    void TearDown() override {
        fs::current_path(Previous);
        fs::remove_all(Dir);
        SdlTest::TearDown();
    }
    static void Frame() {
        RenderFrame();
        ++Frames;
        if (Frames == 3) {
            g_scene = sceneGame;
            PushKey(SDL_KEYDOWN, SDLK_ESCAPE); // back to the title
        }
        if (Frames == 5) {
            PushKey(SDL_KEYDOWN, SDLK_ESCAPE, true); // held: now it quits
        }
        ASSERT_LT(Frames, 100) << "Escape did not end the program";
    }
    static int Frames;
    fs::path Dir;
    fs::path Previous;
};

int SdlProgramTest::Frames = 0;

TEST_F(SdlProgramTest, OpensPlaysQuitsOnEscapeAndWritesTheSettings) {
    TSdlClock clock;
    TScopedClock useClock(clock);
    TSdlAppPlatform platform;
    ::testing::internal::CaptureStderr();
    const int exitCode = WinMain(platform, Frame);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Frames, 5);
    EXPECT_EQ(err, "") << "every shipped sound should load";
    EXPECT_TRUE(fs::exists(Dir / "Bellwick" / "Octavane" / "settings.reg"));
    EXPECT_EQ(g_sounds[0], nullptr); // released at close
}

} // namespace
