#include "GlHarness.h"

#include "device/Setdx.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

// The scene on real frames, probed where the matrices put each part. The colours the lighting
// gives are checked exactly on single triangles (GlLightingTest); here each part must show its
// own colour in its own place.

namespace {

constexpr float kSpacing = 140.0f;
constexpr float kDiscTopZ = 20.0f; // resting at z = 10, 10 thick above its centre

float CellX(int i) {
    return static_cast<float>((i % 8 - 3.5) * kSpacing);
}
float CellY(int i) {
    return static_cast<float>((i / 8 - 3.5) * kSpacing);
}

// Each disc shows its upper side where the matrices put it: white up light, black up dark.
void ExpectDiscsAsTheMatricesPutThem(const TFrameImage& frame) {
    for (int i = 0; i < 64; ++i) {
        const bool whiteUp = g_pieces[i]->Rotation.X.GetValue() == 180.0;
        const double seen = Luminance(Probe(frame, Project({CellX(i), CellY(i), kDiscTopZ})));
        EXPECT_TRUE(whiteUp ? seen > 0.42 : seen < 0.36) << "disc " << i << " seen " << seen;
    }
}

class GlScene : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpGraphics(1280, 960);
        g_pointer->Visible = false;
    }
    void TearDown() override { TearDownGraphics(); }
};

// Away from the lamp each tile shows the board colour, channel for channel in the same order,
// and the gap beside it the darker base plate; the discs show their sides.
TEST_F(GlScene, DiscsShowTheirSidesAndTilesTheBoardColour) {
    for (const std::array<int, 3> rgb : {std::array<int, 3>{0, 178, 178}, {200, 40, 120}}) {
        SCOPED_TRACE(::testing::Message() << rgb[0] << "," << rgb[1] << "," << rgb[2]);
        g_boardModel->SetColor(rgb[0], rgb[1], rgb[2]);
        const TFrameImage frame = RenderScene(0);
        KeepFrame(frame, rgb[0] == 0 ? "initial" : "purple");
        ExpectDiscsAsTheMatricesPutThem(frame);
        const D3DLIGHT2& lamp = g_lights[1]->Desc;
        int checked = 0;
        for (int i = 0; i < 64; ++i) {
            if (std::hypot(CellX(i) - lamp.dvPosition.x, CellY(i) - lamp.dvPosition.y) < 350) {
                continue;
            }
            // Beside the disc, inside the tile; and in the gap to the neighbouring tile.
            const float side = i % 8 == 7 ? -1.0f : 1.0f;
            const TColor tile = Probe(frame, Project({CellX(i) + side * 58.0f, CellY(i), 0.0f}));
            const TColor gap = Probe(frame, Project({CellX(i) + side * 70.0f, CellY(i), -1.0f}));
            const double seen[3] = {tile.R, tile.G, tile.B};
            for (int a = 0; a < 3; ++a) {
                for (int b = 0; b < 3; ++b) {
                    EXPECT_TRUE(rgb[a] < rgb[b] + 50 || seen[a] > seen[b] + 0.05)
                        << "tile " << i << " channels " << a << " and " << b;
                    EXPECT_TRUE(rgb[a] != rgb[b] || std::abs(seen[a] - seen[b]) < 0.02)
                        << "tile " << i << " channels " << a << " and " << b;
                }
            }
            EXPECT_GT(Luminance(tile) - Luminance(gap), 0.05) << "tile " << i;
            ++checked;
        }
        EXPECT_GT(checked, 30);
    }
}

// A camera low beyond the near edge: the near rows lie closer than the fog's start, the far
// rows well into the fog. No view of the board puts its far edge beyond the fog's end, so the
// far rows darken but never vanish; the next frame without fog is clear again.
TEST_F(GlScene, FogDarkensFarTilesAndLeavesNearOnes) {
    g_camera->Eye.Y.SetValue(2800.0);
    g_camera->Eye.Z.SetValue(400.0);
    const D3DVECTOR near{CellX(60) + 58.0f, CellY(60), 0.0f};
    const D3DVECTOR far{CellX(4) + 58.0f, CellY(4), 0.0f};
    const TFrameImage clear = RenderScene(0);
    ASSERT_LT(FogDepth(near), kFogStart);
    ASSERT_GT(FogDepth(far), kFogStart + 200);
    const TFrameImage foggy = RenderScene(1);
    KeepFrame(foggy, "fog");
    const TFrameImage again = RenderScene(0);
    const double farClear = Luminance(Probe(clear, Project(far)));
    EXPECT_LT(Distance(Probe(foggy, Project(near)), Probe(clear, Project(near))), 0.01);
    EXPECT_GT(farClear, 0.15);
    EXPECT_LT(Luminance(Probe(foggy, Project(far))), 0.5 * farClear);
    EXPECT_GT(Luminance(Probe(foggy, Project(far))), 0.02);
    EXPECT_LT(Distance(Probe(again, Project(far)), Probe(clear, Project(far))), 0.01);
}

// Black disc 35 sits by the lamp: its face is ambient plus specular only.
TEST_F(GlScene, SpecularHighlightsAreOnByDefault) {
    const TScreenPoint top = Project({CellX(35), CellY(35), kDiscTopZ});
    const TFrameImage lit = RenderScene(0);
    g_device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, D3DSTATE_FALSE);
    EXPECT_GT(Luminance(Probe(lit, top)), Luminance(Probe(RenderScene(0), top)) + 0.1);
}

// On a 16:9 window the 4:3 picture is centred between black bars, scaled, and the discs stay
// where the scaled matrices put them.
TEST(GlWideScreen, TheLogicalScreenIsCentredWithBlackBars) {
    SetUpGraphics(1600, 900);
    g_pointer->Visible = false;
    ExpectDiscsAsTheMatricesPutThem(RenderScene(0));
    g_boardModel->SetColor(255, 255, 255);
    for (TSolidPiece* piece : g_pieces) {
        piece->Visible = false;
    }
    // Close enough that the board overflows the 4:3 area on both sides.
    g_camera->Eye.Y.SetValue(700.0);
    g_camera->Eye.Z.SetValue(700.0);
    const TFrameImage frame = RenderScene(0);
    KeepFrame(frame, "wide");
    const TScreenArea& area = static_cast<TGlPresenter*>(g_presenter)->Screen().Area;
    EXPECT_TRUE(area.X == 200 && area.Width == 1200 && area.Scale == 900.0 / 480.0);
    const double lit[] = {-3, 0, 3, 0.2, 1196, 0.2, 1202, 0}; // x from the area's left, at least
    for (int i = 0; i < 8; i += 2) {
        const double seen = Luminance(Probe(frame, {area.X + lit[i], 600.0}));
        EXPECT_TRUE(lit[i + 1] > 0 ? seen > lit[i + 1] : seen == 0) << lit[i] << ": " << seen;
    }
    TearDownGraphics();
}

} // namespace
