#include <gtest/gtest.h>

#include "platform/KeyState.h"
#include "platform/WindowMessages.h"

namespace {

TEST(KeyState, RecordsPressAndRelease) {
    TKeyState keys;
    EXPECT_FALSE(keys.IsDown(VK_SPACE));
    keys.SetDown(VK_SPACE, true);
    EXPECT_TRUE(keys.IsDown(VK_SPACE));
    EXPECT_FALSE(keys.IsDown(VK_RETURN));
    keys.SetDown(VK_SPACE, false);
    EXPECT_FALSE(keys.IsDown(VK_SPACE));
}

TEST(KeyState, ControlIsEitherControlKey) {
    TKeyState keys;
    keys.SetDown(VK_LCONTROL, true);
    keys.SetDown(VK_RCONTROL, true);
    keys.SetDown(VK_LCONTROL, false);
    EXPECT_TRUE(keys.IsDown(VK_CONTROL)); // the right one is still held
    keys.SetDown(VK_RCONTROL, false);
    EXPECT_FALSE(keys.IsDown(VK_CONTROL));
}

TEST(KeyState, OutOfRangeCodesAreIgnored) {
    TKeyState keys;
    keys.SetDown(-1, true);
    keys.SetDown(256, true);
    keys.SetDown(0, true); // "no key"
    EXPECT_FALSE(keys.IsDown(-1));
    EXPECT_FALSE(keys.IsDown(256));
}

TEST(KeyState, AsyncStateHasBit15WhileDown) {
    Keyboard().ReleaseAll();
    EXPECT_EQ(GetAsyncKeyState(VK_LEFT), 0);
    Keyboard().SetDown(VK_LEFT, true);
    EXPECT_NE(GetAsyncKeyState(VK_LEFT) & 0x8000, 0);
    Keyboard().ReleaseAll();
    EXPECT_EQ(GetAsyncKeyState(VK_LEFT), 0);
}

TEST(KeyState, TapIsSeenByOneReadOnly) {
    Keyboard().ReleaseAll();
    Keyboard().SetDown(VK_RETURN, true);
    Keyboard().SetDown(VK_RETURN, false);
    EXPECT_NE(GetAsyncKeyState(VK_RETURN) & 0x8000, 0);
    EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
    // A tap of either Control key reads as Control.
    Keyboard().SetDown(VK_RCONTROL, true);
    Keyboard().SetDown(VK_RCONTROL, false);
    EXPECT_NE(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0);
    EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);
}

TEST(KeyState, ReleasingEverythingForgetsTaps) {
    Keyboard().SetDown(VK_SPACE, true);
    Keyboard().ReleaseAll();
    EXPECT_EQ(GetAsyncKeyState(VK_SPACE), 0);
}

} // namespace
