#include "game/ScreenText.h"
#include "device/Setdx.h"
#include "platform/RecordingDevice3D.h"
#include "platform/RecordingPresent.h"
#include "platform/RecordingText.h"

#include <gtest/gtest.h>

// DrawScreenText through the recording text device: the back buffer taken and given back, one
// font per call, the four black offsets in their order and the coloured text last.

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

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(ScreenText, OutlineUpLeftDownRightThenTheColour) {
    const RECT rect{0, 420, 640, 480};
    EXPECT_EQ(DrawScreenText(rect, "Black 2 - 2 White", 0x00FFFF, "Times New Roman", 32), 0);
    const std::vector<TTextCall>& calls = Text.Calls();
    ASSERT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls[0].Kind, textGetDC);
    EXPECT_EQ(calls[1].Kind, textCreateFont);
    EXPECT_EQ(calls[1].Text, "Times New Roman");
    EXPECT_EQ(calls[1].Height, 32);
    const HFONT font = calls[1].Font;
    const RECT moved[] = {
        {0, 419, 640, 479}, {-1, 420, 639, 480}, {0, 421, 640, 481}, {1, 420, 641, 480}, rect};
    for (int i = 0; i < 5; ++i) {
        const TTextCall& draw = calls[2 + i];
        EXPECT_EQ(draw.Kind, textDrawText);
        EXPECT_EQ(draw.Font, font);
        EXPECT_EQ(draw.Text, "Black 2 - 2 White");
        EXPECT_TRUE(SameRect(draw.Rect, moved[i])) << "pass " << i;
        EXPECT_EQ(draw.Color, i < 4 ? 0u : 0x00FFFFu) << "pass " << i;
    }
    EXPECT_EQ(calls[7].Kind, textDeleteFont);
    EXPECT_EQ(calls[7].Font, font);
    EXPECT_EQ(calls[8].Kind, textReleaseDC);
    EXPECT_EQ(Text.LiveFonts(), 0);
}

TEST_F(ScreenText, TheCallersRectangleIsUnchanged) {
    RECT rect{10, 20, 30, 40};
    DrawScreenText(rect, "x", 0xFFFFFF, "Times New Roman", 16);
    EXPECT_TRUE(SameRect(rect, RECT{10, 20, 30, 40}));
}

TEST_F(ScreenText, ABackBufferThatCannotBeTakenDrawsNothingAndReportsWhy) {
    Text.GetDCError = -5;
    EXPECT_EQ(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Times New Roman", 16), -5);
    ASSERT_EQ(Text.Calls().size(), 1u);
    EXPECT_EQ(Text.Calls()[0].Kind, textGetDC);
}

TEST_F(ScreenText, NoFontMeansNoTextButTheBackBufferIsGivenBack) {
    Text.RefuseFonts = true;
    EXPECT_EQ(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Nothing", 16), 0);
    EXPECT_TRUE(Text.Draws().empty());
    EXPECT_EQ(Text.Calls().back().Kind, textReleaseDC);
}

TEST_F(ScreenText, WithoutTextSupportTheCallFailsQuietly) {
    Presenter.TextAvailable = false;
    EXPECT_NE(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Times New Roman", 16), 0);
    EXPECT_TRUE(Text.Calls().empty());
}

TEST_F(ScreenText, BeforeTheSetUpThereIsNoBackBuffer) {
    ReleaseGraphics();
    EXPECT_NE(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Times New Roman", 16), 0);
    EXPECT_TRUE(Text.Calls().empty());
}

} // namespace
