#include "GlHarness.h"

#include "device/Setdx.h"
#include "game/ScreenText.h"

#include <gtest/gtest.h>

#include <algorithm>

// Text drawn on real frames: where it lands and its outline. The window is
// 1280 x 960, twice the logical screen, so one logical pixel is two real ones.

namespace {

struct TBox {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1; // real pixels, inclusive
    int Count = 0;
};

TBox Find(const TFrameImage& frame, bool black = false) {
    TBox box;
    for (int y = 0; y < frame.Height; ++y) {
        for (int x = 0; x < frame.Width; ++x) {
            const auto p = frame.At(x, y);
            if (black ? p.R < 16 && p.G < 16 && p.B < 16 : p.R > 240 && p.G > 240 && p.B > 240) {
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x),
                       std::max(box.Bottom, y), box.Count + 1};
            }
        }
    }
    return box;
}

// One white line on grey, read back.
TFrameImage Line(const RECT& rect, const char* text, int height) {
    g_presenter->ColorFill(0x808080);
    EXPECT_EQ(DrawScreenText(rect, text, 0xFFFFFF, "Times New Roman", height), 0);
    return ReadBack();
}

// Centred across its rectangle with the cell at its top, hugged by a black outline of one
// logical pixel.
TEST(GlText, TextIsCentredAndOutlined) {
    SetUpGraphics(1280, 960);
    const TFrameImage frame = Line({0, 100, 640, 200}, "OCTAVANE", 48);
    KeepFrame(frame, "text");
    const TBox white = Find(frame);
    const TBox black = Find(frame, true);
    ASSERT_GT(white.Count, 0);
    EXPECT_NEAR((white.Left + white.Right + 1) / 2.0, 640.0, 4.0);
    // Capitals start below the cell top (the ascent holds room for accents).
    EXPECT_TRUE(white.Top > 200 && white.Top < 232 && white.Bottom < 296) << white.Top;
    EXPECT_GT(white.Bottom - white.Top, 48);
    EXPECT_TRUE(black.Count > 100 && black.Left >= white.Left - 3 &&
                black.Right <= white.Right + 3 && black.Top >= white.Top - 3 &&
                black.Bottom <= white.Bottom + 3);
    TearDownGraphics();
}

} // namespace
