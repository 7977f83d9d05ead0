#include <gtest/gtest.h>

#include "DeviceFakes.h"
#include "device/Input.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/MouseState.h"
#include "platform/WindowMessages.h"

namespace {

constexpr uint8_t kTrigger = KEY_TRIGGERED | KEY_HELD;     // 0x81
constexpr uint8_t kRepeat = KEY_TRIGGERED | KEY_REPEATING; // 0x82

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Keyboard().ReleaseAll();
        std::fill(std::begin(g_keyState), std::end(g_keyState), 0);
        g_repeatTime = 0;
        InitInput(nullptr);
    }
    void TearDown() override {
        ReleaseInput();
        Keyboard().ReleaseAll();
    }
    // One frame at tick `now`.
    uint8_t PollAt(uint32_t now, InputKey key) {
        Clock.Set(now);
        PollInput();
        return g_keyState[key];
    }
    TManualClock Clock{1000};
    TScopedClock UseClock{Clock};
};

TEST_F(InputTest, NothingDownReadsZero) {
    PollAt(1000, keySpace);
    for (uint8_t state : g_keyState) {
        EXPECT_EQ(state, 0);
    }
}

TEST_F(InputTest, HeldSpaceTriggersOnlyOnItsFirstFrame) {
    Keyboard().SetDown(VK_SPACE, true);
    EXPECT_EQ(PollAt(1000, keySpace), kTrigger);
    for (uint32_t t = 1016; t < 3000; t += 16) {
        ASSERT_EQ(PollAt(t, keySpace), KEY_HELD) << "at " << t;
    }
}

TEST_F(InputTest, EnterBehavesLikeSpace) {
    Keyboard().SetDown(VK_RETURN, true);
    EXPECT_EQ(PollAt(1000, keyEnter), kTrigger);
    EXPECT_EQ(PollAt(1700, keyEnter), KEY_HELD);
}

TEST_F(InputTest, ControlTriggersInEveryFrame) {
    Keyboard().SetDown(VK_LCONTROL, true);
    for (uint32_t t = 1000; t < 2000; t += 16) {
        ASSERT_EQ(PollAt(t, keyControl), kTrigger);
    }
    Keyboard().SetDown(VK_LCONTROL, false);
    Keyboard().SetDown(VK_RCONTROL, true);
    EXPECT_EQ(PollAt(2000, keyControl), kTrigger);
    Keyboard().SetDown(VK_RCONTROL, false);
    EXPECT_EQ(PollAt(2016, keyControl), 0);
}

TEST_F(InputTest, OneFrameReleaseGivesTwoTriggers) {
    Keyboard().SetDown(VK_SPACE, true);
    EXPECT_EQ(PollAt(1000, keySpace), kTrigger);
    EXPECT_EQ(PollAt(1016, keySpace), KEY_HELD);
    Keyboard().SetDown(VK_SPACE, false);
    EXPECT_EQ(PollAt(1032, keySpace), 0);
    Keyboard().SetDown(VK_SPACE, true);
    EXPECT_EQ(PollAt(1048, keySpace), kTrigger);
}

TEST_F(InputTest, TapBetweenTwoFramesStillTriggersOnce) {
    // Down and up again within one slow frame: the press is not lost.
    Keyboard().SetDown(VK_SPACE, true);
    Keyboard().SetDown(VK_SPACE, false);
    EXPECT_EQ(PollAt(1000, keySpace), kTrigger);
    EXPECT_EQ(PollAt(1016, keySpace), 0);
    EXPECT_EQ(PollAt(1032, keySpace), 0);
}

TEST_F(InputTest, TappedDirectionMovesOnceAndDoesNotRepeat) {
    Keyboard().SetDown(VK_LEFT, true);
    Keyboard().SetDown(VK_LEFT, false);
    EXPECT_EQ(PollAt(1000, keyLeft), kTrigger);
    for (uint32_t t = 1016; t <= 1800; t += 16) {
        ASSERT_EQ(PollAt(t, keyLeft), 0) << "at " << t;
    }
}

// Frames every 10 ms: trigger at once, first repeat on the first frame at or after +500, then
// one on the first frame at or after each +100 counted from the previous repeat.
TEST_F(InputTest, HeldLeftRepeatsAfter500ThenEvery100) {
    Keyboard().SetDown(VK_LEFT, true);
    std::vector<uint32_t> triggers;
    for (uint32_t t = 1000; t <= 2000; t += 10) {
        const uint8_t state = PollAt(t, keyLeft);
        if (state & KEY_TRIGGERED) {
            triggers.push_back(t);
        }
        if (t > 1000 && t < 1500) {
            ASSERT_EQ(state, KEY_HELD) << "at " << t;
        }
        if (t > 1500 && !(state & KEY_TRIGGERED)) {
            ASSERT_EQ(state, KEY_REPEATING) << "at " << t;
        }
    }
    const std::vector<uint32_t> expected = {1000, 1500, 1600, 1700, 1800, 1900, 2000};
    EXPECT_EQ(triggers, expected);
}

TEST_F(InputTest, RepeatsCountFromTheFrameThatFired) {
    Keyboard().SetDown(VK_RIGHT, true);
    EXPECT_EQ(PollAt(1000, keyRight), kTrigger);
    EXPECT_EQ(PollAt(1499, keyRight), KEY_HELD);
    EXPECT_EQ(PollAt(1530, keyRight), kRepeat); // late frame: the next repeat is 100 ms after it
    EXPECT_EQ(PollAt(1600, keyRight), KEY_REPEATING);
    EXPECT_EQ(PollAt(1629, keyRight), KEY_REPEATING);
    EXPECT_EQ(PollAt(1630, keyRight), kRepeat);
}

TEST_F(InputTest, NewDirectionMovesTheSharedDeadline) {
    Keyboard().SetDown(VK_LEFT, true);
    EXPECT_EQ(PollAt(1000, keyLeft), kTrigger);
    EXPECT_EQ(PollAt(1500, keyLeft), kRepeat);
    EXPECT_EQ(PollAt(1550, keyLeft), KEY_REPEATING);
    Keyboard().SetDown(VK_UP, true);
    EXPECT_EQ(PollAt(1560, keyUp), kTrigger);
    EXPECT_EQ(g_keyState[keyLeft], KEY_REPEATING);
    // Left would have repeated at 1600; it now waits for Up's first repeat at 2060.
    for (uint32_t t = 1570; t < 2060; t += 10) {
        PollAt(t, keyLeft);
        ASSERT_FALSE(g_keyState[keyLeft] & KEY_TRIGGERED) << "at " << t;
        ASSERT_FALSE(g_keyState[keyUp] & KEY_TRIGGERED) << "at " << t;
    }
    PollAt(2060, keyLeft);
    EXPECT_EQ(g_keyState[keyLeft], kRepeat);
    EXPECT_EQ(g_keyState[keyUp], kRepeat);
}

TEST_F(InputTest, RepeatKeepsItsRhythmAcrossTheTickWrap) {
    Keyboard().SetDown(VK_DOWN, true);
    EXPECT_EQ(PollAt(0xFFFFFF00u, keyDown), kTrigger); // deadline wraps past zero
    EXPECT_EQ(PollAt(0xFFFFFFF0u, keyDown), KEY_HELD);
    EXPECT_EQ(PollAt(0x00000010u, keyDown), KEY_HELD);
    EXPECT_EQ(PollAt(0x000000F4u, keyDown), kRepeat); // 0xFFFFFF00 + 500
}

class JoystickInputTest : public InputTest {
  protected:
    void SetUp() override {
        InputTest::SetUp();
        InitInput(&Joysticks);
    }
    TFakeJoysticks Joysticks;
};

TEST_F(JoystickInputTest, AxisNeedsMoreThanHalfDeflection) {
    Joysticks.State.X = -500;
    EXPECT_EQ(PollAt(1000, keyLeft), 0);
    Joysticks.State.X = -501;
    EXPECT_EQ(PollAt(1016, keyLeft), kTrigger);
    Joysticks.State.X = 500;
    EXPECT_EQ(PollAt(1032, keyRight), 0);
    Joysticks.State.X = 501;
    EXPECT_EQ(PollAt(1048, keyRight), kTrigger);
    Joysticks.State.X = 0;
    Joysticks.State.Y = -501;
    EXPECT_EQ(PollAt(1064, keyUp), kTrigger);
    Joysticks.State.Y = 1000;
    EXPECT_EQ(PollAt(1080, keyDown), kTrigger);
    EXPECT_EQ(g_keyState[keyUp], 0);
}

TEST_F(JoystickInputTest, ButtonsMapToSpaceEnterAndControl) {
    Joysticks.State.Buttons[3] = 0x80;
    EXPECT_EQ(PollAt(1000, keySpace), kTrigger);
    EXPECT_EQ(PollAt(1016, keySpace), KEY_HELD);
    Joysticks.State.Buttons[3] = 0;
    Joysticks.State.Buttons[0] = 0x80;
    EXPECT_EQ(PollAt(1032, keySpace), KEY_HELD); // still down through the other button
    Joysticks.State.Buttons[0] = 0;
    Joysticks.State.Buttons[2] = 0x80;
    EXPECT_EQ(PollAt(1048, keySpace), 0);
    EXPECT_EQ(g_keyState[keyControl], kTrigger);
    EXPECT_EQ(PollAt(1064, keyControl), kTrigger);
    Joysticks.State.Buttons[2] = 0;
    Joysticks.State.Buttons[1] = 0x80;
    EXPECT_EQ(PollAt(1080, keyEnter), kTrigger);
}

TEST_F(JoystickInputTest, OnlyBitSevenPressesAButton) {
    Joysticks.State.Buttons[0] = 0x7F;
    EXPECT_EQ(PollAt(1000, keySpace), 0);
}

TEST_F(JoystickInputTest, UnreadableJoystickCountsAsCentred) {
    Joysticks.State.X = -1000;
    Joysticks.State.Buttons[0] = 0x80;
    EXPECT_EQ(PollAt(1000, keyLeft), kTrigger);
    ReleaseInput();
    struct TUnplugged final : TJoystickSource {
        std::unique_ptr<TJoystick> OpenFirstAttached() override {
            return std::make_unique<TFakeJoystick>(nullptr);
        }
    } unplugged;
    InitInput(&unplugged);
    EXPECT_EQ(PollAt(1016, keyLeft), 0);
    EXPECT_EQ(g_keyState[keySpace], 0);
}

TEST_F(JoystickInputTest, WithoutJoystickTheKeyboardWorksAlone) {
    ReleaseInput();
    Joysticks.Attached = false;
    InitInput(&Joysticks);
    Keyboard().SetDown(VK_SPACE, true);
    EXPECT_EQ(PollAt(1000, keySpace), kTrigger);
}

// The player's aids: each key and gamepad button presses its own logical key, once per press.
TEST_F(JoystickInputTest, AidKeysAndShoulderButtonsTriggerOncePerPress) {
    struct TRow {
        int VirtualKey; // 0: none
        int Button;     // -1: none
        InputKey Key;
    };
    const TRow rows[] = {{VK_H, -1, keyHint},
                         {VK_BACK, -1, keyUndo},
                         {VK_L, -1, keyMarks},
                         {0, 5, keyHint},
                         {0, 4, keyUndo}};
    uint32_t now = 1000;
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Key);
        if (row.VirtualKey != 0) {
            Keyboard().SetDown(row.VirtualKey, true);
        } else {
            Joysticks.State.Buttons[row.Button] = 0x80;
        }
        EXPECT_EQ(PollAt(now += 16, row.Key), kTrigger);
        for (int key = 0; key < keyCount; ++key) {
            EXPECT_EQ(g_keyState[key] != 0, key == row.Key) << "key " << key;
        }
        EXPECT_EQ(PollAt(now += 16, row.Key), KEY_HELD);
        Keyboard().ReleaseAll();
        Joysticks.State.Buttons[row.Button < 0 ? 0 : row.Button] = 0;
        EXPECT_EQ(PollAt(now += 16, row.Key), 0);
    }
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
    Mouse().MoveTo(true, 100.5, 200.25); // no motion
    PollAt(1016, keySpace);
    EXPECT_TRUE(g_mouse.HasPosition);
    EXPECT_FALSE(g_mouse.Moved || g_mouse.LeftClick || g_mouse.Wheel != 0);
    Mouse().MoveTo(false, 0, 0);
    PollAt(1032, keySpace);
    EXPECT_TRUE(g_mouse.Moved);
    EXPECT_FALSE(g_mouse.HasPosition);
    Mouse().Reset();
}

} // namespace
