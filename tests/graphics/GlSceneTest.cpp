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
        const TColor other = DiscTopReference(i, !whiteUp);
        EXPECT_LT(Distance(seen, expected), 0.04)
            << "disc " << i << " seen " << seen.R << "," << seen.G << "," << seen.B << " expected "
            << expected.R << "," << expected.G << "," << expected.B;
        EXPECT_GT(Distance(seen, other), 0.1) << "disc " << i << " shows the wrong side";
    }
}

TEST_F(GlScene, TilesShowTheBoardColourAndTheGridLinesTheDarkBase) {
    const TFrameImage frame = RenderScene(0);
    const D3DMATERIAL tile = BoardMaterial(0.0f, 178 / 255.0f, 178 / 255.0f);
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
        EXPECT_GT(seenTile.G - seenGap.G, 0.15) << "tile " << i;
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

TEST_F(GlScene, BoardColourFollowsSetColor) {
    g_boardModel->SetColor(255, 0, 0);
    const TFrameImage frame = RenderScene(0);
    const TColor seen = Probe(frame, Project({CellX(0) + 58.0f, CellY(0), 0.0f}));
    EXPECT_GT(seen.R, seen.G + 0.2);
    EXPECT_LT(std::abs(seen.G - seen.B), 0.02);
}

TEST_F(GlScene, TileUnderThePointLightIsBrighterThanAFarOne) {
    const TFrameImage frame = RenderScene(0);
    // Square 27 has a corner 4.2 units from the point under the light; square 0 is far out.
    const TColor near = Probe(frame, Project({CellX(27) + 58.0f, CellY(27), 0.0f}));
    const TColor far = Probe(frame, Project({CellX(0) + 58.0f, CellY(0), 0.0f}));
    EXPECT_GT(Luminance(near), Luminance(far) + 0.2);
}

TEST_F(GlScene, TheMovingLightCarriesTheBrightSpot) {
    g_lights[1]->SetPosition({CellX(0), CellY(0), 100.0f});
    const TFrameImage frame = RenderScene(0);
    const TColor corner = Probe(frame, Project({CellX(0) + 58.0f, CellY(0), 0.0f}));
    const TColor centre = Probe(frame, Project({CellX(27) + 58.0f, CellY(27), 0.0f}));
    EXPECT_GT(Luminance(corner), Luminance(centre) + 0.2);
}

// A camera low beyond the near edge: the near rows lie closer than the fog's start (w = 700, an
// eye depth of about 2440), the far rows well into the fog. No view of the board puts its far
// edge beyond the fog's end, so the far rows darken but never vanish.
void FogCamera() {
    g_camera->Eye.X.SetValue(0.0);
    g_camera->Eye.Y.SetValue(2800.0);
    g_camera->Eye.Z.SetValue(400.0);
}

TEST_F(GlScene, FogDarkensFarTilesAndLeavesNearOnes) {
    FogCamera();
    const D3DVECTOR near{CellX(60) + 58.0f, CellY(60), 0.0f};
    const D3DVECTOR far{CellX(4) + 58.0f, CellY(4), 0.0f};
    const TFrameImage clear = RenderScene(0);
    ASSERT_LT(FogDepth(near), kFogStart);
    ASSERT_GT(FogDepth(far), kFogStart + 200);
    const TFrameImage foggy = RenderScene(1);
    KeepFrame(foggy, "fog");
    EXPECT_LT(Distance(Probe(foggy, Project(near)), Probe(clear, Project(near))), 0.01);
    EXPECT_GT(Luminance(Probe(clear, Project(far))), 0.15);
    EXPECT_LT(Luminance(Probe(foggy, Project(far))), 0.5 * Luminance(Probe(clear, Project(far))));
    EXPECT_GT(Luminance(Probe(foggy, Project(far))), 0.02);
}

TEST_F(GlScene, FogBetweenStartAndEndBlendsByProjectedW) {
    FogCamera();
    const TFrameImage clear = RenderScene(0);
    const TFrameImage foggy = RenderScene(1);
    int checked = 0;
    for (int i = 0; i < 64; ++i) {
        // Inside the tile, off the edge where the base shows.
        const float side = i % 8 == 7 ? -1.0f : 1.0f;
        const D3DVECTOR p{CellX(i) + side * 58.0f, CellY(i), 0.0f};
        const double depth = FogDepth(p);
        if (depth < kFogStart + 20 || depth > kFogEnd - 20 || !BeyondPointLight(i)) {
            continue;
        }
        const TColor unfogged = Probe(clear, Project(p));
        const TColor expected = ReferenceFog(unfogged, p);
        EXPECT_LT(Distance(Probe(foggy, Project(p)), expected), 0.03) << "tile " << i;
        ++checked;
    }
    EXPECT_GE(checked, 16);
}

TEST_F(GlScene, FogOffChangesNothingAcrossFrames) {
    FogCamera();
    const TFrameImage fogged = RenderScene(1);
    const TFrameImage first = RenderScene(0);
    const D3DVECTOR far{CellX(4) + 58.0f, CellY(4), 0.0f};
    EXPECT_GT(Luminance(Probe(first, Project(far))),
              1.5 * Luminance(Probe(fogged, Project(far))) + 0.05);
}

TEST_F(GlScene, TheBoardSeenFromBelowIsCulled) {
    for (TSolidPiece* piece : g_pieces) {
        piece->Visible = false;
    }
    g_camera->Eye.Z.SetValue(-2000.0);
    const TFrameImage culled = RenderScene(0);
    KeepFrame(culled, "below");
    // The same view with culling off shows the tiles' backs, so the probe really is on the board.
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

TEST_F(GlScene, ADiscTurnedAboutXShowsWhite) {
    TSolidPiece* disc = g_pieces[0];
    ASSERT_EQ(kStartPattern[0], '.');
    const TFrameImage before = RenderScene(0);
    disc->Rotation.X.SetValue(180.0);
    const TFrameImage after = RenderScene(0);
    const TScreenPoint top = Project({CellX(0), CellY(0), kDiscTopZ});
    EXPECT_LT(Luminance(Probe(before, top)), 0.2);
    EXPECT_GT(Luminance(Probe(after, top)), 0.4);
}

TEST_F(GlScene, DepthTestHidesTheBoardUnderTheDiscsWhateverTheOrder) {
    BeginFrame(0);
    g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, kSceneAmbient);
    g_camera->Update();
    for (TSolidPiece* piece : g_pieces) {
        piece->Render();
    }
    g_boardModel->Render(); // drawn last, but lower
    const TFrameImage zOn = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());

    BeginFrame(0);
    g_device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DSTATE_FALSE);
    for (TSolidPiece* piece : g_pieces) {
        piece->Render();
    }
    g_boardModel->Render();
    const TFrameImage zOff = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());

    const int white = 5; // white up at start
    const TScreenPoint top = Project({CellX(white), CellY(white), kDiscTopZ});
    EXPECT_GT(Luminance(Probe(zOn, top)), 0.4);
    // Without the test the board's base plate, drawn last, covers everything.
    EXPECT_LT(Luminance(Probe(zOff, top)), 0.2);
}

TEST_F(GlScene, SpecularHighlightsAreOnByDefault) {
    // Black disc 35 sits by the point light: its face is ambient plus specular only.
    const TScreenPoint top = Project({CellX(35), CellY(35), kDiscTopZ});
    const TFrameImage lit = RenderScene(0);
    g_device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, D3DSTATE_FALSE);
    const TFrameImage plain = RenderScene(0);
    EXPECT_GT(Luminance(Probe(lit, top)), Luminance(Probe(plain, top)) + 0.1);
}

class GlWideScreen : public ::testing::Test {
  protected:
    void SetUp() override { SetUpGraphics(1600, 900); }
    void TearDown() override { TearDownGraphics(); }
};

TEST_F(GlWideScreen, TheLogicalScreenIsCentredWithBlackBars) {
    g_boardModel->SetColor(255, 255, 255);
    for (TSolidPiece* piece : g_pieces) {
        piece->Visible = false;
    }
    g_pointer->Visible = false;
    // Close enough that the board overflows the 4:3 area on both sides.
    g_camera->Eye.Y.SetValue(700.0);
    g_camera->Eye.Z.SetValue(700.0);
    const TFrameImage frame = RenderScene(0);
    KeepFrame(frame, "wide");
    const TScreenArea& area = static_cast<TGlPresenter*>(g_presenter)->Screen().Area;
    EXPECT_EQ(area.X, 200);
    EXPECT_EQ(area.Width, 1200);
    EXPECT_EQ(area.Height, 900);
    EXPECT_DOUBLE_EQ(area.Scale, 900.0 / 480.0);
    const int row = 600;
    EXPECT_EQ(Luminance(Probe(frame, {area.X - 3.0, row})), 0.0);
    EXPECT_GT(Luminance(Probe(frame, {area.X + 3.0, row})), 0.2);
    EXPECT_GT(Luminance(Probe(frame, {area.X + area.Width - 4.0, row})), 0.2);
    EXPECT_EQ(Luminance(Probe(frame, {area.X + area.Width + 2.0, row})), 0.0);
}

TEST_F(GlWideScreen, DiscsStayWhereTheScaledMatricesPutThem) {
    g_pointer->Visible = false;
    const TFrameImage frame = RenderScene(0);
    for (int i : {0, 7, 56, 63}) {
        const bool whiteUp = kStartPattern[i] == 'x';
        const TColor seen = Probe(frame, Project({CellX(i), CellY(i), kDiscTopZ}));
        EXPECT_LT(Distance(seen, DiscTopReference(i, whiteUp)), 0.04) << "disc " << i;
    }
}

} // namespace
