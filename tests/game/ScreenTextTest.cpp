#include "game/ScreenText.h"
#include "device/Setdx.h"
#include "platform/recording/RecordingDevice3D.h"
#include "platform/recording/RecordingPresent.h"
#include "platform/recording/RecordingText.h"

#include <gtest/gtest.h>

// The font is deleted and the back buffer given back even without a font. A back buffer that
// cannot be taken, no text device, or no set-up: nothing drawn, an error returned.
TEST(ScreenText, OutlineUpLeftDownRightThenTheColourAndFailuresDrawNothing) {
    TRecordingLog log{1 << 16};
    TRecordingDirect3D direct3D{log};
    TRecordingText text;
    TRecordingPresenter presenter{&direct3D, &text};
    SetDeviceSources({&presenter, nullptr, nullptr});
    ASSERT_EQ(InitGraphics(nullptr), DD_OK);
    EXPECT_EQ(DrawScreenText({0, 420, 640, 480}, "Black 2 - 2 White", 0x00FFFF, "Arial", 32), 0);
    const std::vector<TTextCall> draws = text.Draws();
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
    EXPECT_EQ(text.Calls().back().Kind, textReleaseDC);
    EXPECT_EQ(text.LiveFonts(), 0);
    text.ClearLog();
    text.RefuseFonts = true;
    EXPECT_EQ(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Nothing", 16), 0);
    EXPECT_TRUE(text.Draws().empty());
    EXPECT_EQ(text.Calls().back().Kind, textReleaseDC);
    text.GetDCError = -5;
    EXPECT_EQ(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Arial", 16), -5);
    EXPECT_EQ(text.Calls().back().Kind, textGetDC);
    text.ClearLog();
    for (const bool setUp : {true, false}) {
        presenter.TextAvailable = !setUp;
        setUp ? void() : ReleaseGraphics();
        EXPECT_NE(DrawScreenText({0, 0, 640, 480}, "x", 0xFFFFFF, "Arial", 16), 0) << setUp;
    }
    EXPECT_TRUE(text.Calls().empty());
    SetDeviceSources({});
}
