#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "device/Input.h"
#include "platform/Clock.h"
#include "platform/Joystick.h"
#include "platform/KeyState.h"
#include "platform/PageControls.h"
#include "platform/TouchState.h"
#include "platform/WindowMessages.h"

namespace {

constexpr uint8_t kTrigger = KEY_TRIGGERED | KEY_HELD;
constexpr uint8_t kRepeat = KEY_TRIGGERED | KEY_REPEATING;

TJoyState g_stick;           // what the joystick reads as
bool g_stickReadable = true; // false: pulled out since

struct TFakeStick final : TJoystick, TJoystickSource {
    void Poll() override {}
    bool GetState(TJoyState& state) override { // a failed read may leave anything behind
        state = g_stick;
        return g_stickReadable;
    }
    std::unique_ptr<TJoystick> OpenFirstAttached() override {
        return std::make_unique<TFakeStick>();
    }
};

class InputTest : public ::testing::Test {
  protected:
    InputTest() {
        Keyboard().ReleaseAll();
        std::fill(std::begin(g_keyState), std::end(g_keyState), 0);
        InitInput(&Sticks);
    }
    ~InputTest() override { ReleaseInput(); }
    uint8_t PollAt(uint32_t now, InputKey key) {
        Clock.Set(now);
        PollInput();
        return g_keyState[key];
    }
    uint8_t Next(InputKey key, uint32_t ms = 16) { return PollAt(Clock.Now() + ms, key); }
    // Every logical key from `first` on is `state` for `key` and clear for the others.
    static void ExpectOnly(int key, uint8_t state, int first = 0) {
        for (int k = first; k < keyCount; ++k) {
            EXPECT_EQ(g_keyState[k], k == key ? state : 0) << "key " << k;
        }
    }
    TManualClock Clock{1000};
    TScopedClock UseClock{Clock};
    TFakeStick Sticks;
};

// Each key, deflection past half and button (its top bit) presses its own key; a lost stick none.
TEST_F(InputTest, EachInputPressesItsOwnKeyOnly) {
    // The virtual key, the stick's x and y, the button, the logical key (-1: none).
    // clang-format off
    const std::tuple<int, int, int, int, int> rows[] = {
        {VK_SPACE, 0, 0, -1, keySpace}, {VK_RETURN, 0, 0, -1, keyEnter},
        {VK_LCONTROL, 0, 0, -1, keyControl}, {VK_RCONTROL, 0, 0, -1, keyControl},
        {VK_H, 0, 0, -1, keyHint}, {VK_BACK, 0, 0, -1, keyUndo}, {VK_L, 0, 0, -1, keyMarks},
        {VK_LEFT, 0, 0, -1, keyLeft}, {VK_DOWN, 0, 0, -1, keyDown}, {VK_A, 0, 0, -1, keyAnalysis},
        {0, -500, 0, -1, -1}, {0, -501, 0, -1, keyLeft}, {0, 500, 0, -1, -1},
        {0, 501, 0, -1, keyRight}, {0, 0, -501, -1, keyUp}, {0, 0, 500, -1, -1},
        {0, 0, 1000, -1, keyDown}, {0, 0, 0, 0, keySpace}, {0, 0, 0, 3, keySpace},
        {0, 0, 0, 1, keyEnter}, {0, 0, 0, 2, keyControl}, {0, 0, 0, 4, keyUndo},
        {0, 0, 0, 5, keyHint}, {0, 0, 0, 6, keyRedo}, {0, 0, 0, 7, keyAnalysis},
        {VK_Z, 0, 0, -1, -1}, {VK_C, 0, 0, -1, -1}, {VK_LSHIFT, 0, 0, -1, -1}};
    // clang-format on
    for (const auto& [virtualKey, x, y, button, key] : rows) {
        SCOPED_TRACE(testing::Message() << virtualKey << " " << x << "," << y << " " << button);
        for (const int frame : {0, 1, 2}) { // pressed, held, let go
            g_stick = frame < 2 ? TJoyState{x, y} : TJoyState{};
            std::fill(std::begin(g_stick.Buttons), std::end(g_stick.Buttons), 0x7F);
            g_stick.Buttons[std::max(button, 0)] |= button >= 0 && frame < 2 ? 0x80 : 0;
            Keyboard().SetDown(virtualKey, frame < 2);
            Next(keySpace);
            SCOPED_TRACE(frame);
            ExpectOnly(frame < 2 ? key : -1, frame == 0 || key == keyControl ? kTrigger : KEY_HELD);
        }
    }
    g_stickReadable = false; // pulled out: centred, whatever its failed read left
    g_stick = TJoyState{-1000, 1000};
    g_stick.Buttons[0] = 0x80;
    EXPECT_EQ(Next(keyLeft) | g_keyState[keyDown] | g_keyState[keySpace], 0);
    Keyboard().SetDown(VK_RETURN, true);
    EXPECT_EQ(Next(keyEnter), kTrigger);
    g_stickReadable = true;
    g_stick = TJoyState{};
}

// Each chord with its modifier held, pressed with it, or typed whole between two frames.
TEST_F(InputTest, ShortcutsPressTheirOwnKeysHeldOrTypedWholeInAFrame) {
    const std::tuple<int, int, int> rows[] = {
        {VK_LSHIFT, VK_BACK, keyRedo}, {VK_RSHIFT, VK_BACK, keyRedo}, {VK_LCONTROL, VK_Z, keyUndo},
        {VK_RCONTROL, VK_Y, keyRedo},  {VK_LCONTROL, VK_C, keyCopy},  {VK_RCONTROL, VK_V, keyPaste},
        {VK_LCONTROL, VK_H, keyHint},  {VK_LSHIFT, VK_Z, -1},
    };
    for (const auto& [modifier, letter, key] : rows) {
        for (const int way : {0, 1, 2}) { // held across a frame, pressed in one, typed whole
            SCOPED_TRACE(testing::Message() << "key " << key << " way " << way);
            Keyboard().ReleaseAll();
            Next(keySpace);
            Keyboard().SetDown(modifier, true);
            if (way == 0) {
                Next(keySpace);
                ExpectOnly(-1, 0, keyHint);
            }
            Keyboard().SetDown(letter, true);
            if (way == 2) {
                Keyboard().SetDown(letter, false);
                Keyboard().SetDown(modifier, false);
            }
            Next(keySpace);
            ExpectOnly(key, kTrigger, keyHint);
            Next(keySpace);
            ExpectOnly(way == 2 ? -1 : key, KEY_HELD, keyHint);
        }
    }
    Keyboard().ReleaseAll();
    Keyboard().SetDown(VK_Z, true); // tapped alone between two frames
    Keyboard().SetDown(VK_Z, false);
    Next(keyUndo);
    Keyboard().SetDown(VK_LCONTROL, true);
    EXPECT_EQ(Next(keyUndo), 0);
    EXPECT_EQ(g_keyState[keyControl], kTrigger);
    Keyboard().ReleaseAll();
    for (const bool shifted : {true, false}) { // Shift let go, or pressed, while Backspace is held
        const InputKey held = shifted ? keyRedo : keyUndo, other = shifted ? keyUndo : keyRedo;
        Keyboard().SetDown(VK_LSHIFT, shifted);
        Keyboard().SetDown(VK_BACK, true);
        EXPECT_EQ(Next(held), kTrigger);
        Keyboard().SetDown(VK_RSHIFT, !shifted);
        Keyboard().SetDown(VK_LSHIFT, false);
        EXPECT_EQ(Next(held), KEY_HELD);
        EXPECT_EQ(g_keyState[other], 0);
        Keyboard().ReleaseAll();
        Next(keyUndo);
    }
}

// Repeats from +500, then every +100 after the frame that fired; a new direction restarts it.
TEST_F(InputTest, HeldDirectionsRepeatAfter500ThenEvery100FromAnyTick) {
    // At, Right, Up (held from 860 on).
    // clang-format off
    const std::tuple<uint32_t, uint8_t, uint8_t> timeline[] = {
        {0, kTrigger, 0}, {499, KEY_HELD, 0}, {530, kRepeat, 0}, {629, KEY_REPEATING, 0},
        {630, kRepeat, 0}, {730, kRepeat, 0}, {830, kRepeat, 0}, {860, KEY_REPEATING, kTrigger},
        {1359, KEY_REPEATING, KEY_HELD}, {1360, kRepeat, kRepeat}};
    // clang-format on
    for (const uint32_t start : {1000u, 0xFFFFFE10u}) {
        SCOPED_TRACE(start);
        Keyboard().SetDown(VK_RIGHT, true);
        for (const auto& [at, right, up] : timeline) {
            Keyboard().SetDown(VK_UP, at >= 860);
            EXPECT_EQ(PollAt(start + at, keyRight), right) << "at +" << at;
            EXPECT_EQ(g_keyState[keyUp], up) << "at +" << at;
        }
        Keyboard().ReleaseAll();
        EXPECT_EQ(PollAt(start + 1500, keyRight) | g_keyState[keyUp], 0);
    }
}

// Taps between two frames trigger once each, one a frame, up to a bound; auto-repeats never.
TEST_F(InputTest, EveryTapBetweenTwoFramesTriggersOnce) {
    const auto tap = [](int virtualKey, int times = 1) {
        for (int i = 0; i < times; ++i) {
            Keyboard().SetDown(virtualKey, true);
            Keyboard().SetDown(virtualKey, false);
        }
    };
    tap(VK_SPACE, 3); // three within one slow frame: the next three frames
    tap(VK_RCONTROL);
    EXPECT_EQ(Next(keySpace, 100), kTrigger);
    EXPECT_EQ(g_keyState[keyControl], kTrigger);
    EXPECT_EQ(Next(keySpace), kTrigger);
    EXPECT_EQ(g_keyState[keyControl], 0);
    EXPECT_EQ(Next(keySpace), kTrigger);
    EXPECT_EQ(Next(keySpace), 0);

    tap(VK_RETURN, 20); // far ahead of the game: only the first few are kept
    int triggers = 0;
    for (int frame = 0; frame < 30; ++frame) {
        triggers += Next(keyEnter) == kTrigger;
    }
    EXPECT_EQ(triggers, TKeyState::kMaxPendingPresses);

    const uint32_t start = Clock.Now() + 16;
    Keyboard().SetDown(VK_UP, true);
    EXPECT_EQ(PollAt(start, keyUp), kTrigger);
    Keyboard().SetDown(VK_UP, true); // the system's auto-repeat
    EXPECT_EQ(PollAt(start + 16, keyUp), KEY_HELD);
    tap(VK_UP); // let go and pressed again, and let go, between two frames
    Keyboard().SetDown(VK_UP, true);
    EXPECT_EQ(PollAt(start + 300, keyUp), kTrigger);
    EXPECT_EQ(PollAt(start + 600, keyUp), KEY_HELD) << "the first repeat counts from +300";
    EXPECT_EQ(PollAt(start + 800, keyUp), kRepeat);
    EXPECT_EQ(PollAt(start + 850, keyUp), KEY_REPEATING);
    EXPECT_EQ(PollAt(start + 900, keyUp), kRepeat);
}

} // namespace

// The page's controls press their keys once per press, even while that key is held.
TEST_F(InputTest, PageControlsAndADraggingFingerPressTheirKeys) {
    const std::pair<int, int> rows[] = {
        {pageBack, keyBack}, {pagePass, keyEnter},       {pageUndo, keyUndo},
        {pageRedo, keyRedo}, {pageHint, keyHint},        {pageMarks, keyMarks},
        {pageCopy, keyCopy}, {pagePaste, keyPaste},      {pageUp, keyUp},
        {pageDown, keyDown}, {pageAnalysis, keyAnalysis}};
    PageControls().Reset();
    for (const auto& [control, key] : rows) {
        SCOPED_TRACE(control);
        PageControls().Press(control);
        Next(keySpace);
        ExpectOnly(key, kTrigger);
        Next(keySpace);
        ExpectOnly(-1, 0);
    }
    Keyboard().SetDown(VK_RETURN, true); // Enter held, then Pass pressed: a new trigger
    Next(keyEnter);
    EXPECT_EQ(Next(keyEnter), KEY_HELD);
    PageControls().Press(pagePass);
    EXPECT_EQ(Next(keyEnter), kTrigger);
    Keyboard().ReleaseAll();

    // A finger dragged more than 24 points holds Control and the arrows it has gone along.
    Touch().Reset();
    Touch().FingerDown(1, 200, 200);
    Touch().FingerMove(1, 210, 200);
    EXPECT_EQ(PollAt(2000, keyControl), 0);
    Touch().FingerMove(1, 224, 190); // dragging, not yet a step to the right
    EXPECT_EQ(PollAt(2016, keyControl), kTrigger);
    EXPECT_EQ(g_keyState[keyRight], 0);
    Touch().FingerMove(1, 225, 170);
    EXPECT_EQ(PollAt(2032, keyRight), kTrigger);
    EXPECT_EQ(g_keyState[keyUp], kTrigger);
    EXPECT_EQ(g_keyState[keyLeft] | g_keyState[keyDown], 0);
    EXPECT_EQ(PollAt(2048, keyRight), KEY_HELD);
    EXPECT_EQ(PollAt(2532, keyRight), kRepeat);
    Touch().FingerMove(1, 150, 240);
    EXPECT_EQ(PollAt(2548, keyLeft), kTrigger);
    EXPECT_EQ(g_keyState[keyDown], kTrigger);
    EXPECT_EQ(g_keyState[keyRight] | g_keyState[keyUp], 0);
    EXPECT_FALSE(Touch().FingerUp(1, 150, 240));
    PollAt(2564, keyControl);
    ExpectOnly(-1, 0);
}
