#include "GlHarness.h"

#include "device/Setdx.h"
#include "game/ScreenText.h"
#include "platform/sdl/FontText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Text drawn on real frames: where it lands, its outline, its faces and its clipping. The window
// is 1280 x 960, twice the logical screen, so one logical pixel is two real ones.

namespace {

constexpr COLORREF kWhiteText = 0xFFFFFF;

struct TBox {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1; // real pixels, inclusive
    int Count = 0;
    bool Empty() const { return Count == 0; }
};

template <typename Pred> TBox Find(const TFrameImage& frame, Pred pred) {
    TBox box;
    for (int y = 0; y < frame.Height; ++y) {
        for (int x = 0; x < frame.Width; ++x) {
            if (!pred(frame.At(x, y))) {
                continue;
            }
            box.Left = std::min(box.Left, x);
            box.Right = std::max(box.Right, x);
            box.Top = std::min(box.Top, y);
            box.Bottom = std::max(box.Bottom, y);
            ++box.Count;
        }
    }
    return box;
}

bool IsWhite(const TFrameImage::TPixel& p) {
    return p.R > 240 && p.G > 240 && p.B > 240;
}
bool IsBlack(const TFrameImage::TPixel& p) {
    return p.R < 16 && p.G < 16 && p.B < 16;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

class GlText : public ::testing::Test {
  protected:
    void SetUp() override { SetUpGraphics(1280, 960); }
    void TearDown() override { TearDownGraphics(); }

    TFrameImage Read() { return ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen()); }
    TGlText& Text() { return static_cast<TGlText&>(*g_presenter->GetTextDevice()); }
};

// White text is centred across its rectangle with the cell at its top, hugged by a black outline
// of one logical pixel that shows even on white; the colour is a GDI COLORREF; the cell height
// scales the text.
TEST_F(GlText, TextIsCentredOutlinedColouredAndScaled) {
    g_presenter->ColorFill(0x808080);
    EXPECT_EQ(DrawScreenText({0, 100, 640, 200}, "OCTAVANE", kWhiteText, "Times New Roman", 48), 0);
    const TFrameImage frame = Read();
    KeepFrame(frame, "text");
    const TBox white = Find(frame, IsWhite);
    const TBox black = Find(frame, IsBlack);
    ASSERT_FALSE(white.Empty());
    EXPECT_NEAR((white.Left + white.Right + 1) / 2.0, 640.0, 4.0);
    // Capitals start below the cell top (the ascent holds room for accents) and end above the
    // cell bottom; the cell starts at the rectangle's top.
    EXPECT_GT(white.Top, 200);
    EXPECT_LT(white.Top, 200 + 48 * 2 / 3);
    EXPECT_LT(white.Bottom, 200 + 96);
    EXPECT_GT(white.Bottom - white.Top, 48);
    EXPECT_GE(black.Left, white.Left - 3);
    EXPECT_LE(black.Right, white.Right + 3);
    EXPECT_GE(black.Top, white.Top - 3);
    EXPECT_LE(black.Bottom, white.Bottom + 3);

    g_presenter->ColorFill(0xFFFFFF);
    DrawScreenText({0, 100, 640, 200}, "Level", kWhiteText, "Times New Roman", 32);
    EXPECT_GT(Find(Read(), IsBlack).Count, 100);

    g_presenter->ColorFill(0x000000);
    DrawScreenText({0, 0, 640, 100}, "Extreme", 0x0000FF, "Times New Roman", 64); // red
    EXPECT_GT(
        Find(Read(), [](const TFrameImage::TPixel& p) { return p.R > 240 && p.G < 16 && p.B < 16; })
            .Count,
        500);

    int heights[2] = {};
    for (int i = 0; i < 2; ++i) {
        g_presenter->ColorFill(0x808080);
        DrawScreenText({0, 0, 640, 100}, "HHHH", kWhiteText, "Times New Roman", i ? 64 : 16);
        const TBox box = Find(Read(), IsWhite);
        heights[i] = box.Bottom - box.Top + 1;
    }
    EXPECT_NEAR(static_cast<double>(heights[1]) / heights[0], 4.0, 0.5);
}

TEST_F(GlText, TextWiderThanItsRectangleIsClippedToIt) {
    g_presenter->ColorFill(0x808080);
    DrawScreenText({200, 100, 440, 160}, "OCTAVANEOCTAVANEOCTAVANE", kWhiteText, "Times New Roman",
                   48);
    const TFrameImage frame = Read();
    const TBox white = Find(frame, IsWhite);
    const TBox marked = Find(frame, [](const TFrameImage::TPixel& p) {
        return !(p.R == 128 && p.G == 128 && p.B == 128);
    });
    // The coloured pass stays inside the rectangle and reaches both its edges; the outline
    // passes inside theirs, one logical pixel further out at most.
    EXPECT_GE(white.Left, 400);
    EXPECT_LE(white.Left, 410);
    EXPECT_LE(white.Right, 879);
    EXPECT_GE(white.Right, 850);
    EXPECT_GE(marked.Left, 398);
    EXPECT_LE(marked.Right, 881);
    EXPECT_GE(marked.Top, 198);
    EXPECT_LE(marked.Bottom, 321);
}

TEST_F(GlText, FacesResolveToTheirInstalledTwins) {
    EXPECT_NE(Lower(Text().ResolvedPath("Times New Roman", "")).find("liberationserif"),
              std::string::npos);
    const std::string gothic = Lower(Text().ResolvedPath("ＭＳ Ｐゴシック", "パスは Enter キー"));
    EXPECT_NE(gothic.find("ipa"), std::string::npos) << gothic;
}

TEST_F(GlText, ThePassHintDrawsJapaneseGlyphsNotBoxes) {
    const RECT rect{320, 420, 640, 480};
    g_presenter->ColorFill(0x000000);
    DrawScreenText(rect, "パスは Enter キー", kWhiteText, "ＭＳ Ｐゴシック", 20);
    const TFrameImage hint = Read();
    KeepFrame(hint, "hint");
    // The same line with other kana: boxes would look the same, real glyphs do not.
    g_presenter->ColorFill(0x000000);
    DrawScreenText(rect, "ゴシは Enter ゲー", kWhiteText, "ＭＳ Ｐゴシック", 20);
    const TFrameImage other = Read();
    const TBox first = Find(hint, IsWhite);
    ASSERT_GT(first.Count, 100);
    EXPECT_GE(first.Left, 640);
    EXPECT_GE(first.Top, 840);
    int differing = 0;
    for (int y = first.Top; y <= first.Bottom; ++y) {
        for (int x = first.Left; x <= first.Right; ++x) {
            differing += IsWhite(hint.At(x, y)) != IsWhite(other.At(x, y));
        }
    }
    EXPECT_GT(differing, 50);
}

// Fonts as fontconfig is told to see them: the usual faces, only faces of other families, or
// none at all. Text is drawn whenever any scalable face exists; a replaced face and a missing
// font are each said once, however many lines are drawn.
TEST_F(GlText, MissingFacesFallBackToAnyFaceAndNoFontAtAllLeavesNoTextOnce) {
    const std::string dir = ::testing::TempDir() + "octavane-fonts-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    struct TRow {
        const char* Name;
        const char* FontDir; // null: none
        bool Drawn;
        int Lines; // on standard error
    };
    const TRow rows[] = {
        {"the usual faces", "/usr/share/fonts/truetype/liberation2", true, 0},
        {"other faces only", "/usr/share/fonts/truetype/dejavu", true, 1},
        {"no font", nullptr, false, 1},
    };
    const char* old = std::getenv("FONTCONFIG_FILE");
    const std::string previous = old ? old : "";
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        const std::string config = dir + "/fonts.conf";
        std::ofstream(config) << "<?xml version=\"1.0\"?><fontconfig>"
                              << (row.FontDir ? std::string("<dir>") + row.FontDir + "</dir>" : "")
                              << "<cachedir>" << dir << "/cache</cachedir></fontconfig>\n";
        ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
        TGlScreen screen = static_cast<TGlPresenter*>(g_presenter)->Screen();
        ::testing::internal::CaptureStderr();
        int white = 0;
        {
            TGlText text(screen);
            for (int frame = 0; frame < 3; ++frame) {
                g_presenter->ColorFill(0x808080);
                ASSERT_EQ(text.GetDC(), 0);
                for (const int height : {32, 16}) {
                    const HFONT font = text.CreateFont("Times New Roman", height);
                    text.DrawText(font, "Octavane", {0, 0, 640, 100}, kWhiteText);
                    text.DeleteFont(font);
                }
                text.ReleaseDC();
            }
            white = Find(ReadFrame(screen), IsWhite).Count;
        }
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(white > 100, row.Drawn) << white;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), row.Lines) << err;
    }
    if (old) {
        ::setenv("FONTCONFIG_FILE", previous.c_str(), 1);
    } else {
        ::unsetenv("FONTCONFIG_FILE");
    }
    std::filesystem::remove_all(dir);
}

TEST_F(GlText, TextIsDrawnOverTheThreeDimensionalScene) {
    const TFrameImage before = RenderScene(0);
    DrawScreenText({0, 200, 640, 300}, "OCTAVANE", kWhiteText, "Times New Roman", 64);
    const TFrameImage after = Read();
    EXPECT_GT(Find(after, IsWhite).Count, Find(before, IsWhite).Count + 500);
    // The 3D drawn after the text still renders with its own state.
    const TFrameImage again = RenderScene(0);
    EXPECT_EQ(Find(again, IsWhite).Count, Find(before, IsWhite).Count);
}

TEST(GlWideText, TextIsScaledAndPlacedWithTheFourThreeArea) {
    SetUpGraphics(1600, 900);
    g_presenter->ColorFill(0x808080);
    DrawScreenText({0, 0, 640, 100}, "HHHH", kWhiteText, "Times New Roman", 64);
    const TBox white = Find(ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen()), IsWhite);
    ASSERT_FALSE(white.Empty());
    // Centred on the window's middle (the area spans 200..1400), cell scaled by 900 / 480.
    EXPECT_NEAR((white.Left + white.Right + 1) / 2.0, 800.0, 4.0);
    EXPECT_LT(white.Bottom, 64 * 900 / 480);
    EXPECT_GT(white.Bottom - white.Top, 64 * 900 / 480 / 2);
    TearDownGraphics();
}

} // namespace
