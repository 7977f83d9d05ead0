#include "game/ScreenText.h"
#include "device/Setdx.h"
#include "platform/RecordingDevice3D.h"
#include "platform/RecordingPresent.h"
#include "platform/RecordingText.h"

#include <gtest/gtest.h>

// DrawScreenText through the recording text device.

namespace {

class ScreenText : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDeviceSources({&Presenter, nullptr, nullptr});
        ASSERT_EQ(InitGraphics(nullptr), DD_OK);
    }
    void TearDown() override {
        ReleaseGraphics();
        SetDeviceSources({});
    }

    TRecordingLog Log{1 << 16};
    TRecordingDirect3D Direct3D{Log};
    TRecordingText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};
};

// The text drawn in black one pixel up, left, down and right, then in its colour where the
// caller asked; the font deleted and the back buffer given back.
TEST_F(ScreenText, OutlineUpLeftDownRightThenTheColour) {
    const RECT rect{0, 420, 640, 480};
    EXPECT_EQ(DrawScreenText(rect, "Black 2 - 2 White", 0x00FFFF, "Times New Roman", 32), 0);
    const std::vector<TTextCall>& draws = Text.Draws();
    ASSERT_EQ(draws.size(), 5u);
    const int moved[5][2] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}, {0, 0}};
    for (int i = 0; i < 5; ++i) {
        const RECT& r = draws[i].Rect;
        EXPECT_EQ(draws[i].Text, "Black 2 - 2 White");
        EXPECT_TRUE(r.left == moved[i][0] && r.right == 640 + moved[i][0] &&
                    r.top == 420 + moved[i][1] && r.bottom == 480 + moved[i][1])
            << "pass " << i;
        EXPECT_EQ(draws[i].Color, i < 4 ? 0u : 0x00FFFFu) << "pass " << i;
    }
    EXPECT_EQ(Text.Calls().back().Kind, textReleaseDC);
    EXPECT_EQ(Text.LiveFonts(), 0);
}

// A back buffer that cannot be taken, no text device, or no set-up: nothing drawn, an error
// returned; no font: no text, but the back buffer is given back.
TEST_F(ScreenText, FailuresDrawNothingAndGiveTheBackBufferBack) {
    Text.RefuseFonts = true;
    EXPECT_EQ(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Nothing", 16), 0);
    EXPECT_TRUE(Text.Draws().empty());
    EXPECT_EQ(Text.Calls().back().Kind, textReleaseDC);
    Text.GetDCError = -5;
    EXPECT_EQ(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Times New Roman", 16), -5);
    EXPECT_EQ(Text.Calls().back().Kind, textGetDC);
    Text.ClearLog();
    Presenter.TextAvailable = false;
    EXPECT_NE(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Times New Roman", 16), 0);
    ReleaseGraphics();
    EXPECT_NE(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Times New Roman", 16), 0);
    EXPECT_TRUE(Text.Calls().empty());
}

} // namespace
