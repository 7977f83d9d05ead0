#include <gtest/gtest.h>

#include "ShellFakes.h"
#include "app/App.h"
#include "platform/MouseState.h"

namespace {

// Window points land on the logical screen through the letterbox; the bars are off the picture.
TEST(MouseState, WindowPointsMapThroughTheLetterbox) {
    struct TRow {
        int Width, Height;
        double WindowX, WindowY;
        bool Inside;
        double X, Y;
    };
    const TRow rows[] = {
        {1920, 1080, 240, 0, true, 0, 0}, // 1440 x 1080 picture between bars of 240
        {1920, 1080, 1050, 540, true, 360, 240},
        {1920, 1080, 239.5, 540, false, 0, 0},
        {1920, 1080, 1680, 540, false, 0, 0},
        {1000, 1000, 500, 124, false, 0, 0}, // 1000 x 750 picture under a bar of 125
        {0, 0, 0, 0, false, 0, 0},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.Width << "x" << row.Height << " at " << row.WindowX
                                          << "," << row.WindowY);
        double x = -1;
        double y = -1;
        ASSERT_EQ(WindowToLogical(row.Width, row.Height, 640, 480, row.WindowX, row.WindowY, x, y),
                  row.Inside);
        if (row.Inside) {
            EXPECT_NEAR(x, row.X, 1e-9);
            EXPECT_NEAR(y, row.Y, 1e-9);
        }
    }
}

// The system pointer shows on the first motion and hides two seconds after the last one; a
// keyboard player, who never moves the mouse, never sees it.
TEST(MousePointer, ShowsWhileTheMouseMovesAndHidesTwoSecondsAfter) {
    std::vector<std::string> log;
    TFakeWindow window;
    window.Log = &log;
    ForgetMousePointer();
    const struct {
        bool Moved;
        uint32_t Now;
    } frames[] = {{false, 0},    {false, 5000}, {true, 6000},  {true, 6500},
                  {false, 8499}, {false, 8500}, {false, 9000}, {true, 9100}};
    for (const auto& frame : frames) {
        UpdateMousePointer(&window, frame.Moved, frame.Now);
    }
    const std::vector<std::string> expected = {"cursor on", "cursor off", "cursor on"};
    EXPECT_EQ(log, expected);
    ForgetMousePointer();
}

} // namespace
