#include <gtest/gtest.h>

#include <vector>

#include "DeviceFakes.h"
#include "device/Input.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/MouseState.h"
#include "platform/WindowMessages.h"

namespace {

constexpr uint8_t kTrigger = KEY_TRIGGERED | KEY_HELD;
constexpr uint8_t kRepeat = KEY_TRIGGERED | KEY_REPEATING;

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Keyboard().ReleaseAll();
        std::fill(std::begin(g_keyState), std::end(g_keyState), 0);
        g_repeatTime = 0;
        InitInput(&Joysticks);
    }
    void TearDown() override {
        ReleaseInput();
        Keyboard().ReleaseAll();
        Mouse().Reset();
    }
    uint8_t PollAt(uint32_t now, InputKey key) {
        Clock.Set(now);
        PollInput();
        return g_keyState[key];
    }
    TManualClock Clock{1000};
    TScopedClock UseClock{Clock};
    TFakeJoysticks Joysticks;
};

// Space and Enter trigger once per press, even a press that came and went between two frames;
// Control triggers in every frame it is held.
TEST_F(InputTest, PressesTriggerOnceAndControlInEveryFrame) {
    for (const auto& [virtualKey, key] : {std::pair{VK_SPACE, keySpace}, {VK_RETURN, keyEnter}}) {
        SCOPED_TRACE(key);
        const uint32_t start = Clock.Now();
        Keyboard().SetDown(virtualKey, true);
        EXPECT_EQ(PollAt(start, key), kTrigger);
        for (uint32_t t = 16; t < 1000; t += 16) {
            ASSERT_EQ(PollAt(start + t, key), KEY_HELD) << t;
        }
        Keyboard().SetDown(virtualKey, false);
        EXPECT_EQ(PollAt(start + 1000, key), 0);
        Keyboard().SetDown(virtualKey, true);
        Keyboard().SetDown(virtualKey, false);
        EXPECT_EQ(PollAt(start + 1016, key), kTrigger);
        EXPECT_EQ(PollAt(start + 1032, key), 0);
    }
    for (const int control : {VK_LCONTROL, VK_RCONTROL}) {
        Keyboard().SetDown(control, true);
        for (uint32_t t = 0; t < 200; t += 16) {
            ASSERT_EQ(PollAt(Clock.Now() + 16, keyControl), kTrigger) << t;
        }
        Keyboard().SetDown(control, false);
        EXPECT_EQ(PollAt(Clock.Now() + 16, keyControl), 0);
    }
}

// A held direction triggers at once, first repeats on the first frame at or after +500, then on
// the first frame at or after +100 from the frame that fired; the same from any start tick,
// also one whose deadlines wrap past zero.
TEST_F(InputTest, HeldDirectionRepeatsAfter500ThenEvery100FromAnyTick) {
    const std::pair<uint32_t, uint8_t> timeline[] = {
        {0, kTrigger},        {16, KEY_HELD},       {499, KEY_HELD}, {530, kRepeat},
        {600, KEY_REPEATING}, {629, KEY_REPEATING}, {630, kRepeat},  {700, KEY_REPEATING},
        {730, kRepeat},       {830, kRepeat}};
    for (const uint32_t start : {1000u, 0xFFFFFF00u, 0xFFFFFE10u}) {
        SCOPED_TRACE(start);
        TearDown();
        SetUp();
        Keyboard().SetDown(VK_RIGHT, true);
        for (const auto& [at, expected] : timeline) {
            EXPECT_EQ(PollAt(start + at, keyRight), expected) << "at +" << at;
        }
        Keyboard().SetDown(VK_RIGHT, false);
        EXPECT_EQ(PollAt(start + 900, keyRight), 0);
    }
}

TEST_F(InputTest, ANewDirectionMovesTheSharedDeadline) {
    Keyboard().SetDown(VK_LEFT, true);
    EXPECT_EQ(PollAt(1000, keyLeft), kTrigger);
    EXPECT_EQ(PollAt(1500, keyLeft), kRepeat);
    Keyboard().SetDown(VK_UP, true);
    EXPECT_EQ(PollAt(1560, keyUp), kTrigger);
    for (uint32_t t = 1570; t < 2060; t += 10) { // Left would have repeated at 1600
        PollAt(t, keyLeft);
        ASSERT_FALSE((g_keyState[keyLeft] | g_keyState[keyUp]) & KEY_TRIGGERED) << t;
    }
    EXPECT_EQ(PollAt(2060, keyLeft), kRepeat);
    EXPECT_EQ(g_keyState[keyUp], kRepeat);
}

// The stick presses a direction past half deflection only; buttons 0 and 3 are Space, 1 Enter,
// 2 Control, 4 undo, 5 hint, and only bit 7 presses; keys H, Backspace and L are the aids.
TEST_F(InputTest, StickButtonsAndAidKeysPressTheirOwnKeyOnly) {
    struct TRow {
        int X, Y, Button, VirtualKey;
        int Key; // -1: none
    };
    const TRow rows[] = {
        {-500, 0, -1, 0, -1},         {-501, 0, -1, 0, keyLeft},  {500, 0, -1, 0, -1},
        {501, 0, -1, 0, keyRight},    {0, -500, -1, 0, -1},       {0, -501, -1, 0, keyUp},
        {0, 500, -1, 0, -1},          {0, 1000, -1, 0, keyDown},  {0, 0, 0, 0, keySpace},
        {0, 0, 3, 0, keySpace},       {0, 0, 1, 0, keyEnter},     {0, 0, 2, 0, keyControl},
        {0, 0, 4, 0, keyUndo},        {0, 0, 5, 0, keyHint},      {0, 0, -1, VK_H, keyHint},
        {0, 0, -1, VK_BACK, keyUndo}, {0, 0, -1, VK_L, keyMarks},
    };
    uint32_t now = 1000;
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.X << "," << row.Y << " button " << row.Button
                                        << " key " << row.VirtualKey);
        Joysticks.State = TJoyState{};
        Joysticks.State.X = row.X;
        Joysticks.State.Y = row.Y;
        if (row.Button >= 0) {
            Joysticks.State.Buttons[row.Button] = 0x80;
        }
        if (row.VirtualKey) {
            Keyboard().SetDown(row.VirtualKey, true);
        }
        PollAt(now += 16, keySpace);
        for (int key = 0; key < keyCount; ++key) {
            EXPECT_EQ(g_keyState[key], key == row.Key ? kTrigger : 0) << "key " << key;
        }
        Keyboard().ReleaseAll();
        Joysticks.State = TJoyState{};
        PollAt(now += 16, keySpace);
    }
    Joysticks.State.Buttons[0] = 0x7F;
    EXPECT_EQ(PollAt(now += 16, keySpace), 0);
}

TEST_F(InputTest, AJoystickThatIsGoneOrUnreadableCountsAsCentred) {
    ReleaseInput();
    struct TUnplugged final : TJoystickSource {
        std::unique_ptr<TJoystick> OpenFirstAttached() override {
            return std::make_unique<TFakeJoystick>(nullptr);
        }
    } unplugged;
    InitInput(&unplugged);
    EXPECT_EQ(PollAt(1000, keyLeft), 0);
    ReleaseInput();
    Joysticks.Attached = false;
    InitInput(&Joysticks);
    Keyboard().SetDown(VK_SPACE, true);
    EXPECT_EQ(PollAt(1016, keySpace), kTrigger);
}

TEST_F(InputTest, EachFrameTakesTheMouseEventsSinceTheLast) {
    Mouse().Reset();
    Mouse().MoveTo(true, 100.5, 200.25);
    Mouse().PressLeft();
    Mouse().Scroll(1);
    Mouse().Scroll(1);
    PollAt(1000, keySpace);
    EXPECT_TRUE(g_mouse.HasPosition && g_mouse.Moved && g_mouse.LeftClick);
    EXPECT_FALSE(g_mouse.RightClick);
    EXPECT_EQ(g_mouse.X, 100.5);
    EXPECT_EQ(g_mouse.Y, 200.25);
    EXPECT_EQ(g_mouse.Wheel, 2);
    Mouse().MoveTo(true, 100.5, 200.25);
    PollAt(1016, keySpace);
    EXPECT_TRUE(g_mouse.HasPosition);
    EXPECT_FALSE(g_mouse.Moved || g_mouse.LeftClick || g_mouse.Wheel != 0);
    Mouse().MoveTo(false, 0, 0);
    PollAt(1032, keySpace);
    EXPECT_TRUE(g_mouse.Moved && !g_mouse.HasPosition);
}

} // namespace
