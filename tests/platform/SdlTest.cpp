#include "platform/KeyState.h"
#include "platform/MouseState.h"
#include "platform/sdl/SdlSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
// Mesa's GL driver (unloaded before exit) and fontconfig keep allocations that LeakSanitizer
// cannot attribute; leaks of our own code are checked by the headless test programs.
extern "C" const char* __lsan_default_options() {
    return "detect_leaks=0";
}
#endif

// The SDL stand-ins for the window's events, the joystick and the mixer, on SDL's headless
// drivers.

namespace {

class SdlTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
    void SetUp() override {
        ASSERT_TRUE(Sdl.IsReady()) << Sdl.Error();
        Keyboard().ReleaseAll();
        Drain();
    }
    void TearDown() override { Keyboard().ReleaseAll(); }

    std::vector<TMessage> Drain() {
        std::vector<TMessage> messages;
        TMessage message;
        while (messages.size() < 100 && Source.Next(message)) {
            messages.push_back(message);
        }
        return messages;
    }
    TSdlSystem Sdl;
    TSdlEventSource Source;
};

void PushKey(Uint32 type, SDL_Keycode key, bool repeat = false, Uint16 mod = KMOD_NONE,
             Uint32 windowId = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = windowId;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
}

// Escape (and its repeats) and the system's close become window messages; the game's keys only
// change the key state.
TEST_F(SdlTest, EscapeAndCloseBecomeMessagesAndOtherKeysTheKeyState) {
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, true);
    PushKey(SDL_KEYUP, SDLK_ESCAPE);
    for (const SDL_Keycode key : {SDLK_SPACE, SDLK_LEFT, SDLK_RCTRL, SDLK_KP_ENTER}) {
        PushKey(SDL_KEYDOWN, key);
    }
    PushKey(SDL_KEYUP, SDLK_LEFT);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    const std::vector<TMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(messages[i].Message, WM_KEYDOWN);
        EXPECT_EQ(messages[i].WParam, uint64_t(VK_ESCAPE));
    }
    EXPECT_EQ(messages[2].Message, WM_CLOSE);
    for (const int key : {VK_SPACE, VK_CONTROL, VK_RETURN}) {
        EXPECT_TRUE(Keyboard().IsDown(key)) << key;
    }
    EXPECT_FALSE(Keyboard().IsDown(VK_LEFT));
}

// F11 and Alt+Enter switch a window made with --window to full screen and back, at any moment;
// the game never sees them, and their auto-repeats change nothing.
TEST_F(SdlTest, F11AndAltEnterSwitchFullScreenAndNeverReachTheGame) {
    const auto window = TSdlWindow::Create("Octavane", true);
    ASSERT_NE(window, nullptr);
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
        EXPECT_TRUE(Drain().empty());
        EXPECT_EQ((SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_FULLSCREEN) != 0,
                  row.FullScreenAfter);
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window->Handle(), &width, &height);
        EXPECT_TRUE(row.FullScreenAfter || (width == kWindowedWidth && height == kWindowedHeight));
        EXPECT_EQ(Keyboard().IsDown(VK_RETURN), row.Key == SDLK_RETURN && row.Mod == KMOD_NONE);
        PushKey(SDL_KEYUP, row.Key, false, row.Mod);
        Drain();
    }
}

// Mouse events of a wide window reach the mouse state in logical pixels, as the presenter
// letterboxes the picture into that window; on a bar there is no position.
TEST_F(SdlTest, MouseEventsOfAWideWindowArriveInLogicalPixels) {
    SDL_Window* window = SDL_CreateWindow("mouse", 0, 0, 1600, 900, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    Mouse().Reset();
    for (const int x : {800, 100}) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion = {SDL_MOUSEMOTION, 0, SDL_GetWindowID(window), 0, 0, x, 450, 0, 0};
        SDL_PushEvent(&event);
        if (x == 800) {
            event = {};
            event.button = {SDL_MOUSEBUTTONDOWN,
                            0,
                            SDL_GetWindowID(window),
                            0,
                            SDL_BUTTON_RIGHT,
                            SDL_PRESSED,
                            1,
                            0,
                            x,
                            450};
            SDL_PushEvent(&event);
        }
        EXPECT_TRUE(Drain().empty()) << "mouse events make no window message";
        const TMouseFrame frame = Mouse().Take();
        EXPECT_TRUE(frame.Moved && frame.RightClick == (x == 800) && !frame.LeftClick);
        // The picture is 1200 x 900 between bars of 200: 1.875 window points per logical pixel.
        EXPECT_EQ(frame.HasPosition, x == 800);
        EXPECT_TRUE(x != 800 || std::abs(frame.X - (320 + 0.5 / 1.875)) < 1e-9) << frame.X;
        EXPECT_TRUE(x != 800 || std::abs(frame.Y - (240 + 0.5 / 1.875)) < 1e-9) << frame.Y;
    }
    Mouse().Reset();
    SDL_DestroyWindow(window);
}

TEST_F(SdlTest, AxesScaleToPlusMinusThousandAndNoJoystickGivesNone) {
    const int16_t raw[] = {0, 32767, -32768, 16384, 16417, -16417};
    const int32_t scaled[] = {0, 1000, -1000, 500, 501, -501}; // half deflection is no press yet
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ScaleSdlAxis(raw[i]), scaled[i]) << raw[i];
    }
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0 && SDL_NumJoysticks() > 0) {
        GTEST_SKIP() << "a joystick is attached to this machine";
    }
    EXPECT_EQ(TSdlJoystickSource().OpenFirstAttached(), nullptr);
}

} // namespace
