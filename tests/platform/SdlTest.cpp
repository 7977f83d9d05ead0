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

#include <cmath>
#include <cstdlib>

// The window's events from SDL, on its headless video driver.

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
    // The state of `key` after the next frame.
    uint8_t Frame(InputKey key) {
        Drain();
        Clock.Set(Clock.Now() + 16);
        PollInput();
        return g_keyState[key];
    }
    static void Push(SDL_Event event) { SDL_PushEvent(&event); }
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

// Escape and the close are window messages, keys key states; an auto-repeat presses nothing new.
TEST_F(SdlTest, KeysBecomeMessagesOrKeyStatesTapsAndChords) {
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, true);
    PushKey(SDL_KEYUP, SDLK_ESCAPE);
    for (const SDL_Keycode key : {SDLK_SPACE, SDLK_LEFT, SDLK_RCTRL, SDLK_KP_ENTER}) {
        PushKey(SDL_KEYDOWN, key);
    }
    PushKey(SDL_KEYUP, SDLK_LEFT);
    Push({SDL_QUIT});
    const std::vector<TMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[0].Message == WM_KEYDOWN && messages[1].Message == WM_KEYDOWN &&
                messages[1].WParam == VK_ESCAPE && messages[2].Message == WM_CLOSE);
    const TKeyState& keys = Keyboard();
    EXPECT_TRUE(keys.IsDown(VK_SPACE) && keys.IsDown(VK_CONTROL) && keys.IsDown(VK_RETURN) &&
                !keys.IsDown(VK_LEFT));
    Keyboard().ReleaseAll();

    PushKey(SDL_KEYDOWN, SDLK_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, true);
    EXPECT_EQ(Frame(keyLeft), kTrigger);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, true);
    PushKey(SDL_KEYDOWN, SDLK_LEFT, true);
    EXPECT_EQ(Frame(keyLeft), KEY_HELD);
    PushKey(SDL_KEYUP, SDLK_LEFT);
    EXPECT_EQ(Frame(keyLeft), 0);

    // A chord is what its key's event reports, also with a modifier held since before the focus.
    const auto chord = [](SDL_Keycode modifier, Uint16 mod, SDL_Keycode key) {
        PushKey(SDL_KEYDOWN, modifier, false, mod);
        PushKey(SDL_KEYDOWN, key, false, mod);
        PushKey(SDL_KEYUP, key, false, mod);
        PushKey(SDL_KEYUP, modifier);
    };
    chord(SDLK_LSHIFT, KMOD_LSHIFT, SDLK_BACKSPACE);
    EXPECT_EQ(Frame(keyRedo), kTrigger);
    EXPECT_EQ(g_keyState[keyUndo], 0);
    chord(SDLK_RCTRL, KMOD_RCTRL, SDLK_c);
    EXPECT_EQ(Frame(keyCopy), kTrigger);

    PushKey(SDL_KEYDOWN, SDLK_BACKSPACE, false, KMOD_RSHIFT);
    PushKey(SDL_KEYDOWN, SDLK_v, false, KMOD_LCTRL);
    EXPECT_EQ(Frame(keyRedo), kTrigger);
    EXPECT_EQ(g_keyState[keyPaste], kTrigger);
    EXPECT_EQ(g_keyState[keyUndo], 0);
}

// Taps click once in logical pixels, echoes and drags never; on a bar no position; clipboard.
TEST_F(SdlTest, TapsClickOnceTheMouseArrivesInLogicalPixelsAndTheClipboardReadsBack) {
    SDL_Window* window = SDL_CreateWindow("touch", 0, 0, 1600, 900, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    TSdlClipboard clipboard;
    std::string text = "left";
    ASSERT_TRUE(clipboard.SetText(""));
    EXPECT_FALSE(clipboard.GetText(text));
    ASSERT_TRUE(clipboard.SetText("d3c5f6") && clipboard.GetText(text));
    EXPECT_EQ(text, "d3c5f6");
    const Uint32 id = SDL_GetWindowID(window);
    Mouse().Reset();
    Touch().Reset();
    const auto finger = [id](Uint32 type, float x, float y) {
        Push({.tfinger = {type, 0, 1, 5, x, y, 0, 0, 1, id}});
    };
    const auto button = [id](Uint32 which, Uint8 mouseButton = SDL_BUTTON_LEFT, int x = 8) {
        Push({.button = {SDL_MOUSEBUTTONDOWN, 0, id, which, mouseButton, SDL_PRESSED, 1, 0, x,
                         450}});
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
    EXPECT_TRUE(frame.LeftClick && frame.HasPosition && std::abs(frame.X - 320) < 1e-6 &&
                std::abs(frame.Y - 240) < 1e-6)
        << frame.X << "," << frame.Y;
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
    Push({.motion = {SDL_MOUSEMOTION, 0, id, 0, 0, 100, 450, 0, 0}});
    Drain();
    frame = Mouse().Take();
    EXPECT_TRUE(frame.Moved && !frame.HasPosition && !frame.RightClick);
    SDL_DestroyWindow(window);
}

} // namespace
