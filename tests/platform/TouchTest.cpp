#include <gtest/gtest.h>

#include "platform/TouchState.h"

namespace {

// A lift near where the finger went down taps; once past the drag's start, it drags to the end.
TEST(TouchTest, AFingerTapsUnlessItWentFurtherThanTheDragsStart) {
    TTouchState touch;
    touch.FingerDown(7, 100, 100);
    touch.FingerMove(7, 108, 95); // within 12 points
    EXPECT_TRUE(touch.Down() && !touch.Dragging() && touch.DragX() == 0.0);
    EXPECT_TRUE(touch.FingerUp(7, 109, 96));
    EXPECT_FALSE(touch.Down());

    touch.FingerDown(8, 100, 100);
    touch.FingerDown(9, 300, 300); // a second finger is ignored
    touch.FingerMove(9, 500, 500); // and so are its moves
    EXPECT_FALSE(touch.Dragging());
    touch.FingerMove(8, 100, 113);
    EXPECT_TRUE(touch.Dragging());
    EXPECT_EQ(touch.DragY(), 13.0);
    EXPECT_FALSE(touch.FingerUp(9, 500, 500)); // not the tracked finger
    EXPECT_TRUE(touch.Down());
    EXPECT_FALSE(touch.FingerUp(8, 100, 100)); // back where it began, but it dragged
    EXPECT_TRUE(!touch.Dragging() && touch.DragX() == 0.0);

    touch.FingerDown(1, 0, 0);
    touch.Reset();
    EXPECT_FALSE(touch.Down() || touch.FingerUp(1, 0, 0));

    // Mouse events within 800 ms of a finger's last event echo it, also across the tick wrap.
    TTouchState echo;
    EXPECT_FALSE(echo.EchoesTouch(0));
    for (const uint32_t finger : {5000u, 0xFFFFFF00u}) {
        echo.NoteFingerTime(finger);
        EXPECT_TRUE(echo.EchoesTouch(finger) && echo.EchoesTouch(finger + 799));
        EXPECT_FALSE(echo.EchoesTouch(finger + 800));
    }
}

} // namespace
