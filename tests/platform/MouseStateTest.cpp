#include "platform/MouseState.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

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
        {1000, 1000, 500, 124, false, 0, 0}, // 1000 x 750 picture under a bar of 125
        {0, 0, 0, 0, false, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.Width << "x" << row.Height << " at " << row.WindowX
                                          << "," << row.WindowY);
        double x = -1, y = -1;
        ASSERT_EQ(WindowToLogical(row.Width, row.Height, 640, 480, row.WindowX, row.WindowY, x, y),
                  row.Inside);
        EXPECT_TRUE(!row.Inside || (std::abs(x - row.X) < 1e-9 && std::abs(y - row.Y) < 1e-9));
    }
}

} // namespace
