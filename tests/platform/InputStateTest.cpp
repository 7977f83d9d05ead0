#include "platform/KeyState.h"
#include "platform/MouseState.h"
#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Bit 15 while a key is down, Control for either Control key; a tap between two reads is seen
// by one read only, and releasing everything forgets it. Codes out of range are ignored.
TEST(KeyState, HeldKeysEitherControlAndEachTapOnce) {
    Keyboard().ReleaseAll();
    Keyboard().SetDown(VK_LCONTROL, true);
    Keyboard().SetDown(VK_RCONTROL, true);
    Keyboard().SetDown(VK_LCONTROL, false);
    EXPECT_NE(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0);
    EXPECT_NE(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0); // still held
    Keyboard().SetDown(VK_RCONTROL, false);
    EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);
    for (const int key : {VK_RETURN, VK_RCONTROL}) {
        Keyboard().SetDown(key, true);
        Keyboard().SetDown(key, false);
        const int read = key == VK_RCONTROL ? VK_CONTROL : key;
        EXPECT_NE(GetAsyncKeyState(read) & 0x8000, 0) << key;
        EXPECT_EQ(GetAsyncKeyState(read), 0) << key;
    }
    Keyboard().SetDown(VK_SPACE, true);
    Keyboard().SetDown(256, true);
    Keyboard().SetDown(-1, true);
    Keyboard().ReleaseAll();
    EXPECT_EQ(GetAsyncKeyState(VK_SPACE), 0);
}

// Window points land on the logical screen through the letterbox; the bars are off the picture.
TEST(MouseState, WindowPointsMapThroughTheLetterbox) {
    const struct {
        int Width, Height;
        double WindowX, WindowY;
        bool Inside;
        double X, Y;
    } rows[] = {
        {1920, 1080, 240, 0, true, 0, 0}, // 1440 x 1080 picture between bars of 240
        {1920, 1080, 1050, 540, true, 360, 240},
        {1920, 1080, 239.5, 540, false, 0, 0},
        {1920, 1080, 1680, 540, false, 0, 0},
        {1000, 1000, 500, 124, false, 0, 0}, // 1000 x 750 picture under a bar of 125
        {0, 0, 0, 0, false, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.Width << "x" << row.Height << " at " << row.WindowX
                                          << "," << row.WindowY);
        double x = -1;
        double y = -1;
        ASSERT_EQ(WindowToLogical(row.Width, row.Height, 640, 480, row.WindowX, row.WindowY, x, y),
                  row.Inside);
        EXPECT_TRUE(!row.Inside || (std::abs(x - row.X) < 1e-9 && std::abs(y - row.Y) < 1e-9));
    }
}

} // namespace
