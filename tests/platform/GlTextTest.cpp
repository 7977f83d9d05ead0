#include "GlHarness.h"

#include "device/Setdx.h"
#include "game/ScreenText.h"
#include "platform/sdl/FontText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// Text on real frames in a 1280 x 960 window: one logical pixel is two real ones.

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

class GlText : public ::testing::Test {
  protected:
    void SetUp() override { SetUpGraphics(1280, 960); }
    void TearDown() override { TearDownGraphics(); }
};

// Centred below the cell's top in a black outline; Japanese in real glyphs, not boxes.
TEST_F(GlText, TextIsCentredOutlinedAndJapaneseGlyphsAreNotBoxes) {
    g_presenter->ColorFill(0x808080);
    EXPECT_EQ(DrawScreenText({0, 100, 640, 200}, "OCTAVANE", 0xFFFFFF, "Times New Roman", 48), 0);
    const TFrameImage frame = ReadBack();
    KeepFrame(frame, "text");
    const TBox white = Find(frame);
    const TBox black = Find(frame, true);
    ASSERT_GT(white.Count, 0);
    EXPECT_NEAR((white.Left + white.Right + 1) / 2.0, 640.0, 4.0);
    EXPECT_TRUE(white.Top > 200 && white.Top < 232 && white.Bottom < 296) << white.Top;
    EXPECT_GT(white.Bottom - white.Top, 48);
    EXPECT_TRUE(black.Count > 100 && black.Left >= white.Left - 3 &&
                black.Right <= white.Right + 3 && black.Top >= white.Top - 3 &&
                black.Bottom <= white.Bottom + 3);

    const auto line = [](const char* text) {
        g_presenter->ColorFill(0x000000);
        DrawScreenText({320, 420, 640, 480}, text, 0xFFFFFF, "ＭＳ Ｐゴシック", 20);
        return ReadBack();
    };
    const TFrameImage hint = line("パスは Enter キー");
    const TFrameImage other = line("ゴシは Enter ゲー");
    KeepFrame(hint, "hint");
    const TBox box = Find(hint);
    ASSERT_GT(box.Count, 100);
    EXPECT_TRUE(box.Left >= 640 && box.Top >= 840);
    int differing = 0;
    for (int y = box.Top; y <= box.Bottom; ++y) {
        for (int x = box.Left; x <= box.Right; ++x) {
            differing += (hint.At(x, y).R > 240) != (other.At(x, y).R > 240);
        }
    }
    EXPECT_GT(differing, 50);

    // With only faces of other families text is drawn; with no font at all, nothing is.
    char pattern[] = "/tmp/octavane-fonts-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    const char* old = std::getenv("FONTCONFIG_FILE");
    const std::string previous = old ? old : "";
    const std::pair<const char*, bool> rows[] = {{"/usr/share/fonts/truetype/dejavu", true},
                                                 {nullptr, false}};
    for (const auto& [fontDir, drawn] : rows) {
        SCOPED_TRACE(fontDir ? fontDir : "no font");
        std::ofstream(dir + "/fonts.conf")
            << "<?xml version=\"1.0\"?><fontconfig>"
            << (fontDir ? std::string("<dir>") + fontDir + "</dir>" : "") << "<cachedir>" << dir
            << "/cache</cachedir></fontconfig>\n";
        ::setenv("FONTCONFIG_FILE", (dir + "/fonts.conf").c_str(), 1);
        TGlScreen screen = static_cast<TGlPresenter*>(g_presenter)->Screen();
        TGlText text(screen);
        int lit = 0;
        for (int pass = 0; pass < 2; ++pass) {
            g_presenter->ColorFill(0x808080);
            ASSERT_EQ(text.GetDC(), 0);
            const HFONT font = text.CreateFont("Times New Roman", 32);
            text.DrawText(font, "Octavane", {0, 0, 640, 100}, 0xFFFFFF);
            text.DeleteFont(font);
            text.ReleaseDC();
            lit = Find(ReadBack()).Count;
        }
        EXPECT_EQ(lit > 100, drawn) << lit;
    }
    old ? ::setenv("FONTCONFIG_FILE", previous.c_str(), 1) : ::unsetenv("FONTCONFIG_FILE");
    std::filesystem::remove_all(dir);
}

} // namespace
