#include "GlHarness.h"

#include "device/Setdx.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"
#include "scene/Transmat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// The sides the discs show at start, row by row: x = white up (180 about X), . = black up.
const std::string kStartPattern = ".....xxx"
                                  "....xx.."
                                  ".xxxxx.x"
                                  ".x.xx.xx"
                                  "xx..xxx."
                                  "x....x.."
                                  "xxx.x..."
                                  "x..xxx.x";

constexpr float kSpacing = 140.0f;
constexpr float kDiscTopZ = 20.0f; // resting at z = 10, 10 thick above its centre

float CellX(int i) {
    return static_cast<float>((i % 8 - 3.5) * kSpacing);
}
float CellY(int i) {
    return static_cast<float>((i / 8 - 3.5) * kSpacing);
}

double Distance(const TColor& a, const TColor& b) {
    return std::max({std::abs(a.R - b.R), std::abs(a.G - b.G), std::abs(a.B - b.B)});
}

// The colour of the centre of a disc's upper face for the given side, by the reference formulas.
TColor DiscTopReference(int i, bool whiteUp) {
    const TMatrix world = MatrixMultiply(MatrixRotateX(whiteUp ? 3.14159265f : 0.0f),
                                         MatrixTranslate(CellX(i), CellY(i), 10.0f));
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    D3DMATERIAL m{};
    m.dwSize = sizeof m;
    const float diffuse = whiteUp ? 1.0f : 0.0f;
    m.diffuse = {diffuse, diffuse, diffuse, 0.0f};
    m.ambient = {0.1f, 0.1f, 0.1f, 0.0f};
    m.specular = {0.2f, 0.2f, 0.2f, 0.0f};
    m.power = 1.0f;
    const TColor c = whiteUp ? ReferenceVertexColor(m, {0, 0, -10}, {0, 0, -1})
                             : ReferenceVertexColor(m, {0, 0, 10}, {0, 0, 1});
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, MatrixIdentity());
    return c;
}

D3DMATERIAL BoardMaterial(float r, float g, float b) {
    D3DMATERIAL m{};
    m.dwSize = sizeof m;
    m.diffuse = {r, g, b, 0.0f};
    m.ambient = {0.1f, 0.1f, 0.1f, 0.0f};
    m.specular = {0.1f, 0.1f, 0.1f, 0.0f};
    m.power = 1.0f;
    return m;
}

// Whether every corner of the tile of square i is out of the point light's reach, so that its
// colour varies only slowly across it.
bool BeyondPointLight(int i) {
    const D3DLIGHT2& light = g_lights[1]->Desc;
    const float dx = std::abs(CellX(i) - light.dvPosition.x) - 65.8f;
    const float dy = std::abs(CellY(i) - light.dvPosition.y) - 65.8f;
    const float dz = light.dvPosition.z;
    return dx > 0 && dy > 0 && std::sqrt(dx * dx + dy * dy + dz * dz) > light.dvRange;
}

class GlScene : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpGraphics(1280, 960);
        g_pointer->Visible = false;
        g_boardModel->SetColor(0, 178, 178); // the default settings' board colour
    }
    void TearDown() override { TearDownGraphics(); }
};

TEST_F(GlScene, EachDiscShowsThePatternSideWhereTheMatricesPutIt) {
    const TFrameImage frame = RenderScene(0);
    KeepFrame(frame, "initial");
    for (int i = 0; i < 64; ++i) {
        const bool whiteUp = kStartPattern[i] == 'x';
        const TColor seen = Probe(frame, Project({CellX(i), CellY(i), kDiscTopZ}));
        const TColor expected = DiscTopReference(i, whiteUp);
        EXPECT_LT(Distance(seen, expected), 0.04)
            << "disc " << i << " seen " << seen.R << "," << seen.G << "," << seen.B << " expected "
            << expected.R << "," << expected.G << "," << expected.B;
        EXPECT_GT(Distance(seen, DiscTopReference(i, !whiteUp)), 0.1) << "disc " << i;
    }
}

// Away from the point light each tile shows the board colour and the gap beside it the black
// plate, as the reference lighting gives them.
TEST_F(GlScene, TilesShowTheBoardColourAndTheGridLinesTheDarkBase) {
    for (const std::vector<int>& rgb : {std::vector<int>{0, 178, 178}, {200, 40, 120}}) {
        SCOPED_TRACE(::testing::Message() << rgb[0] << "," << rgb[1] << "," << rgb[2]);
        g_boardModel->SetColor(rgb[0], rgb[1], rgb[2]);
        const TFrameImage frame = RenderScene(0);
        const D3DMATERIAL tile = BoardMaterial(rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f);
        const D3DMATERIAL base = BoardMaterial(0.0f, 0.0f, 0.0f);
        int checked = 0;
        for (int i = 0; i < 64; ++i) {
            if (!BeyondPointLight(i)) {
                continue;
            }
            // Beside the disc, inside the tile; and in the gap to the neighbouring tile.
            const float side = i % 8 == 7 ? -1.0f : 1.0f;
            const D3DVECTOR onTile{CellX(i) + side * 58.0f, CellY(i), 0.0f};
            const D3DVECTOR onGap{CellX(i) + side * 70.0f, CellY(i), -1.0f};
            const TColor seenTile = Probe(frame, Project(onTile));
            const TColor seenGap = Probe(frame, Project(onGap));
            EXPECT_LT(Distance(seenTile, ReferenceVertexColor(tile, onTile, {0, 0, 1})), 0.03)
                << "tile " << i;
            EXPECT_LT(Distance(seenGap, ReferenceVertexColor(base, onGap, {0, 0, 1})), 0.03)
                << "grid beside tile " << i;
            EXPECT_GT(Luminance(seenTile) - Luminance(seenGap), 0.05) << "tile " << i;
            ++checked;
        }
        EXPECT_GT(checked, 30);
    }
}

// Square 27 has a corner 4.2 units from the point under the light; square 0 is far out, until
// the light moves over it.
TEST_F(GlScene, TheMovingLightCarriesTheBrightSpot) {
    const auto brighter = [](const TFrameImage& frame, int lit, int dark) {
        return Luminance(Probe(frame, Project({CellX(lit) + 58.0f, CellY(lit), 0.0f}))) -
               Luminance(Probe(frame, Project({CellX(dark) + 58.0f, CellY(dark), 0.0f})));
    };
    EXPECT_GT(brighter(RenderScene(0), 27, 0), 0.2);
    g_lights[1]->SetPosition({CellX(0), CellY(0), 100.0f});
    EXPECT_GT(brighter(RenderScene(0), 0, 27), 0.2);
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
    EXPECT_LT(Distance(Probe(foggy, Project(near)), Probe(clear, Project(near))), 0.01);
    EXPECT_GT(Luminance(Probe(clear, Project(far))), 0.15);
    EXPECT_LT(Luminance(Probe(foggy, Project(far))), 0.5 * Luminance(Probe(clear, Project(far))));
    EXPECT_GT(Luminance(Probe(foggy, Project(far))), 0.02);
    EXPECT_LT(Distance(Probe(again, Project(far)), Probe(clear, Project(far))), 0.01);
}

// Seen from below the board is culled; with culling off the same probes find its tiles.
TEST_F(GlScene, TheBoardSeenFromBelowIsCulled) {
    for (TSolidPiece* piece : g_pieces) {
        piece->Visible = false;
    }
    g_camera->Eye.Z.SetValue(-2000.0);
    const TFrameImage culled = RenderScene(0);
    BeginFrame(0);
    g_device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, kSceneAmbient);
    g_camera->Update();
    g_boardModel->Render();
    const TFrameImage unculled = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    for (int i : {0, 9, 27, 36, 63}) {
        const TScreenPoint p = Project({CellX(i) + 30.0f, CellY(i), 0.0f});
        EXPECT_LT(Luminance(Probe(culled, p)), 0.005) << "tile " << i;
        EXPECT_GT(Luminance(Probe(unculled, p)), 0.05) << "tile " << i;
    }
}

// The board drawn after the discs stays under them with the depth test, covers them without.
TEST_F(GlScene, DepthTestHidesTheBoardUnderTheDiscsWhateverTheOrder) {
    const TScreenPoint top = Project({CellX(5), CellY(5), kDiscTopZ}); // white up at start
    for (const bool depth : {true, false}) {
        BeginFrame(0);
        g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
        g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, kSceneAmbient);
        g_device->SetRenderState(D3DRENDERSTATE_ZENABLE, depth);
        g_camera->Update();
        for (TSolidPiece* piece : g_pieces) {
            piece->Render();
        }
        g_boardModel->Render();
        const TFrameImage frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
        EXPECT_EQ(Luminance(Probe(frame, top)) > 0.4, depth);
    }
}

// Black disc 35 sits by the point light: its face is ambient plus specular only.
TEST_F(GlScene, SpecularHighlightsAreOnByDefault) {
    const TScreenPoint top = Project({CellX(35), CellY(35), kDiscTopZ});
    const TFrameImage lit = RenderScene(0);
    g_device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, D3DSTATE_FALSE);
    const TFrameImage plain = RenderScene(0);
    EXPECT_GT(Luminance(Probe(lit, top)), Luminance(Probe(plain, top)) + 0.1);
}

// The spinning pointer shows a yellow face from either side and vanishes edge-on.
TEST_F(GlScene, SpinningPointerShowsAFaceFromEitherSide) {
    for (TSolidPiece* piece : g_pieces) {
        piece->Visible = false;
    }
    g_boardModel->Visible = false;
    g_pointer->Visible = true;
    g_pointer->Position.Z.SetValue(10.0);
    int yellow[3] = {};
    for (int quarter = 0; quarter < 3; ++quarter) {
        g_pointer->Rotation.Z.SetValue(90.0 * quarter);
        const TFrameImage frame = RenderScene(0);
        for (int y = 0; y < frame.Height; ++y) {
            for (int x = 0; x < frame.Width; ++x) {
                const auto p = frame.At(x, y);
                yellow[quarter] += p.R > 100 && p.G > 100 && p.B < p.R / 2;
            }
        }
    }
    EXPECT_GT(yellow[0], 500);
    EXPECT_NEAR(yellow[2], yellow[0], yellow[0] / 10);
    EXPECT_LT(yellow[1], yellow[0] / 10);
}

// On a 16:9 window the 4:3 picture is centred between black bars, scaled, and the discs stay
// where the scaled matrices put them.
TEST(GlWideScreen, TheLogicalScreenIsCentredWithBlackBars) {
    SetUpGraphics(1600, 900);
    g_pointer->Visible = false;
    const TFrameImage discs = RenderScene(0);
    for (int i : {0, 7, 56, 63}) {
        const TColor seen = Probe(discs, Project({CellX(i), CellY(i), kDiscTopZ}));
        EXPECT_LT(Distance(seen, DiscTopReference(i, kStartPattern[i] == 'x')), 0.04) << i;
    }
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
    EXPECT_EQ(area.X, 200);
    EXPECT_EQ(area.Width, 1200);
    EXPECT_DOUBLE_EQ(area.Scale, 900.0 / 480.0);
    const int row = 600;
    EXPECT_EQ(Luminance(Probe(frame, {area.X - 3.0, row})), 0.0);
    EXPECT_GT(Luminance(Probe(frame, {area.X + 3.0, row})), 0.2);
    EXPECT_GT(Luminance(Probe(frame, {area.X + area.Width - 4.0, row})), 0.2);
    EXPECT_EQ(Luminance(Probe(frame, {area.X + area.Width + 2.0, row})), 0.0);
    TearDownGraphics();
}

} // namespace
