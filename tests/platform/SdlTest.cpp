#include "device/Input.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/MouseState.h"
#include "platform/PageControls.h"
#include "platform/TouchState.h"
#include "platform/sdl/SdlClipboard.h"
#include "platform/sdl/SdlSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

// The SDL stand-in for the window's events, on SDL's headless video driver. Full screen
// switching is checked on a real X server by the whole-program tests.

namespace {

constexpr uint8_t kTrigger = KEY_TRIGGERED | KEY_HELD;

class SdlTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ::setenv("SDL_VIDEODRIVER", "offscreen", 0); }
    void SetUp() override {
        ASSERT_TRUE(Sdl.IsReady()) << Sdl.Error();
        Keyboard().ReleaseAll();
        Drain();
        InitInput(nullptr);
    }
    void TearDown() override { ReleaseInput(); }

    std::vector<TMessage> Drain() {
        std::vector<TMessage> messages;
        TMessage message;
        while (messages.size() < 100 && Source.Next(message)) {
            messages.push_back(message);
        }
        return messages;
    }
    // The events so far, then one frame of the game's input 16 ms after the last.
    void Frame() {
        Drain();
        Clock.Set(Clock.Now() + 16);
        PollInput();
    }
    TSdlSystem Sdl;
    TSdlEventSource Source;
    TManualClock Clock{5000};
    TScopedClock UseClock{Clock};
};

void PushKey(Uint32 type, SDL_Keycode key, bool repeat = false, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    const Uint8 state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key = {type, 0, 0, state, Uint8(repeat), 0, 0, {SDL_SCANCODE_UNKNOWN, key, mod, 0}};
    SDL_PushEvent(&event);
}

// Escape (and its repeats) and the system's close become window messages; the game's keys only
// change the key state. Key events as quick typing sends them, a press and its release between
// two frames: each press triggers its key once in the frames that follow; the system's repeats
// of a held key trigger nothing of their own.
TEST_F(SdlTest, KeysBecomeMessagesOrKeyStatesAndEveryQuickTapTriggersOnce) {
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, true);
    PushKey(SDL_KEYUP, SDLK_ESCAPE);
    for (const SDL_Keycode key : {SDLK_SPACE, SDLK_LEFT, SDLK_RCTRL, SDLK_KP_ENTER}) {
        PushKey(SDL_KEYDOWN, key);
    }
    PushKey(SDL_KEYUP, SDLK_LEFT);
    SDL_Event quit{SDL_QUIT};
    SDL_PushEvent(&quit);
    const std::vector<TMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[0].Message == WM_KEYDOWN && messages[1].Message == WM_KEYDOWN &&
                messages[1].WParam == VK_ESCAPE && messages[2].Message == WM_CLOSE);
    const TKeyState& keys = Keyboard();
    EXPECT_TRUE(keys.IsDown(VK_SPACE) && keys.IsDown(VK_CONTROL) && keys.IsDown(VK_RETURN) &&
                !keys.IsDown(VK_LEFT));
    Keyboard().ReleaseAll();

    const auto left = [this] {
        Frame();
        return g_keyState[keyLeft];
    };
    for (const int perFrame : {1, 2, 3}) {
        SCOPED_TRACE(perFrame);
        for (int tap = 0; tap < 6; ++tap) { // six taps, `perFrame` of them before each frame
            PushKey(SDL_KEYDOWN, SDLK_LEFT);
            PushKey(SDL_KEYUP, SDLK_LEFT);
            if (tap % perFrame == perFrame - 1) {
                EXPECT_EQ(left(), kTrigger) << tap;
            }
        }
        int late = 0;
        while (left() == kTrigger) {
            ++late;
        }
        EXPECT_EQ(late, 6 - 6 / perFrame);
    }
    PushKey(SDL_KEYDOWN, SDLK_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, true);
    EXPECT_EQ(left(), kTrigger);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, true);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, true);
    EXPECT_EQ(left(), KEY_HELD);
    PushKey(SDL_KEYUP, SDLK_LEFT);
    EXPECT_EQ(left(), 0);
}

// A shortcut is the chord its key's event reports: Shift+Backspace and Control+C typed whole
// between two frames (modifier down, key down and up, modifier up, as a tool sends them) redo
// and copy; so do keys whose event says Shift or Control is held when no key event said so (held
// since before the window had the focus).
TEST_F(SdlTest, ChordsAreReadFromTheKeyEvents) {
    const auto chord = [](SDL_Keycode modifier, Uint16 mod, SDL_Keycode key) {
        PushKey(SDL_KEYDOWN, modifier, false, mod);
        PushKey(SDL_KEYDOWN, key, false, mod);
        PushKey(SDL_KEYUP, key, false, mod);
        PushKey(SDL_KEYUP, modifier);
    };
    chord(SDLK_LSHIFT, KMOD_LSHIFT, SDLK_BACKSPACE);
    Frame();
    EXPECT_EQ(g_keyState[keyRedo], kTrigger);
    EXPECT_EQ(g_keyState[keyUndo], 0);
    chord(SDLK_RCTRL, KMOD_RCTRL, SDLK_c);
    Frame();
    EXPECT_EQ(g_keyState[keyCopy], kTrigger);

    PushKey(SDL_KEYDOWN, SDLK_BACKSPACE, false, KMOD_RSHIFT);
    PushKey(SDL_KEYDOWN, SDLK_v, false, KMOD_LCTRL);
    Frame();
    EXPECT_EQ(g_keyState[keyRedo], kTrigger);
    EXPECT_EQ(g_keyState[keyPaste], kTrigger);
    EXPECT_EQ(g_keyState[keyUndo], 0);
    PushKey(SDL_KEYUP, SDLK_BACKSPACE);
    PushKey(SDL_KEYUP, SDLK_v);
    Frame();
}

// Text put on SDL's clipboard comes back; an empty clipboard gives none.
TEST_F(SdlTest, TheClipboardGivesBackWhatWasPutOnIt) {
    SDL_Window* window = SDL_CreateWindow("clipboard", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    TSdlClipboard clipboard;
    std::string text = "left";
    ASSERT_TRUE(clipboard.SetText(""));
    EXPECT_FALSE(clipboard.GetText(text));
    ASSERT_TRUE(clipboard.SetText("d3c5f6"));
    ASSERT_TRUE(clipboard.GetText(text));
    EXPECT_EQ(text, "d3c5f6");
    SDL_DestroyWindow(window);
}

// In a wide window, where the picture is 1200 x 900 between bars of 200 (1.875 window points a
// logical pixel): a finger's tap is one left click where it was lifted, in logical pixels; SDL's
// mouse events made from the same touch, and the browser's just after it, click nothing; a drag
// clicks nothing and is held in the touch state until the finger lifts. A key after the touch
// makes the keys the input in use again, a real click the mouse, which clicks where it is; on a
// bar there is no position. Mouse events make no window message.
TEST_F(SdlTest, TapsClickOnceDragsNeverAndTheMouseArrivesInLogicalPixels) {
    SDL_Window* window = SDL_CreateWindow("touch", 0, 0, 1600, 900, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    const Uint32 id = SDL_GetWindowID(window);
    Mouse().Reset();
    Touch().Reset();
    const auto finger = [id](Uint32 type, float x, float y) {
        SDL_Event event{};
        event.tfinger = {type, 0, 1, 5, x, y, 0, 0, 1, id};
        SDL_PushEvent(&event);
    };
    const auto button = [id](Uint32 which, Uint8 mouseButton = SDL_BUTTON_LEFT, int x = 8) {
        SDL_Event event{};
        event.button = {SDL_MOUSEBUTTONDOWN, 0, id, which, mouseButton, SDL_PRESSED, 1, 0, x, 450};
        SDL_PushEvent(&event);
    };
    finger(SDL_FINGERDOWN, 0.5f, 0.5f);
    button(SDL_TOUCH_MOUSEID);
    EXPECT_TRUE(Drain().empty());
    EXPECT_FALSE(Mouse().Take().LeftClick) << "a finger down clicks nothing yet";
    EXPECT_EQ(LastInputKind(), inputTouch);
    finger(SDL_FINGERUP, 0.5f, 0.5f);
    button(0); // the browser's own click from the same touch
    Drain();
    TMouseFrame frame = Mouse().Take();
    EXPECT_TRUE(frame.LeftClick && frame.HasPosition);
    EXPECT_NEAR(frame.X, 320.0, 1e-6);
    EXPECT_NEAR(frame.Y, 240.0, 1e-6);
    EXPECT_FALSE(Mouse().Take().LeftClick) << "one touch, one click";

    finger(SDL_FINGERDOWN, 0.5f, 0.5f);
    finger(SDL_FINGERMOTION, 0.6f, 0.5f);
    Drain();
    EXPECT_TRUE(Touch().Dragging());
    EXPECT_NEAR(Touch().DragX(), 160.0, 1e-3);
    finger(SDL_FINGERUP, 0.6f, 0.5f);
    Drain();
    EXPECT_FALSE(Touch().Down());
    EXPECT_FALSE(Mouse().Take().LeftClick) << "a drag is no click";

    PushKey(SDL_KEYDOWN, SDLK_LEFT);
    Drain();
    EXPECT_EQ(LastInputKind(), inputKeys);
    PushKey(SDL_KEYUP, SDLK_LEFT);
    Drain();
    Touch().Reset();
    Touch().NoteFingerTime(SDL_GetTicks() - 1000); // the touch long over
    button(0, SDL_BUTTON_RIGHT, 800);
    EXPECT_TRUE(Drain().empty());
    frame = Mouse().Take();
    EXPECT_TRUE(frame.RightClick && !frame.LeftClick && frame.HasPosition);
    EXPECT_NEAR(frame.X, 320 + 0.5 / 1.875, 1e-9); // the middle of the window point
    EXPECT_NEAR(frame.Y, 240 + 0.5 / 1.875, 1e-9);
    EXPECT_EQ(LastInputKind(), inputMouse);
    SDL_Event motion{};
    motion.motion = {SDL_MOUSEMOTION, 0, id, 0, 0, 100, 450, 0, 0};
    SDL_PushEvent(&motion);
    Drain();
    frame = Mouse().Take();
    EXPECT_TRUE(frame.Moved && !frame.HasPosition && !frame.RightClick);
    SDL_DestroyWindow(window);
}

} // namespace
