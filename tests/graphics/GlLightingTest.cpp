#include "GlHarness.h"

#include "device/Setdx.h"
#include "scene/Light.h"
#include "scene/Transmat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

// The lighting, fog and depth rules checked on single small triangles against values known from
// DirectX 5 era devices: identity view, a projection that keeps w = 1, a 640 x 480 screen with
// the clip window (-1, 1)-(1, -1), so that (x, y) lands on pixel (320 + 320x, 240 - 240y).

namespace {

uint32_t Rgb(const TColor& c) {
    const auto byte = [](double v) { return static_cast<uint32_t>(v * 255.0 + 0.5); };
    return (byte(c.R) << 16) | (byte(c.G) << 8) | byte(c.B);
}

// Channel by channel within `tolerance` steps of 255.
::testing::AssertionResult NearRgb(uint32_t seen, uint32_t expected, int tolerance = 2) {
    for (int shift : {16, 8, 0}) {
        if (std::abs(static_cast<int>((seen >> shift) & 0xFF) -
                     static_cast<int>((expected >> shift) & 0xFF)) > tolerance) {
            char text[64];
            std::snprintf(text, sizeof text, "seen 0x%06X, expected 0x%06X", seen, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

const D3DCOLORVALUE kWhite{1, 1, 1, 1};
const D3DCOLORVALUE kBlack{0, 0, 0, 0};
const D3DVERTEX kBigTriangle[3] = {{-0.5f, -0.5f, 1, 0, 0, -1, 0, 0},
                                   {0, 0.5f, 1, 0, 0, -1, 0, 0},
                                   {0.5f, -0.5f, 1, 0, 0, -1, 0, 0}};

struct TTestLight {
    D3DLIGHTTYPE Type;
    D3DCOLORVALUE Color;
    D3DVECTOR Position, Direction;
    float Range = 0.0f; // point lights fall off as (0, 0, 1), the scene's
    bool Active = true;
};

class GlLighting : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpGraphics(640, 480);
        D3DVIEWPORT2 vp = g_viewport->GetViewport2();
        vp.dvClipX = -1.0f;
        vp.dvClipY = 1.0f;
        vp.dvClipWidth = 2.0f;
        vp.dvClipHeight = 2.0f;
        g_viewport->SetViewport2(vp);
        // The scene's own lights stay out of these tests.
        for (TLight* light : g_lights) {
            D3DLIGHT2 off = light->Desc;
            off.dwFlags = 0;
            light->D3DLight->SetLight(off);
        }
        Material = g_d3d->CreateMaterial();
        g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, Material->GetHandle(*g_device));
        g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0);
        g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, MatrixIdentity());
        g_device->SetTransform(D3DTRANSFORMSTATE_VIEW, MatrixIdentity());
        Projection._33 = 0.5f; // depth 0.5 at z = 1, well inside the clip volume
        g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Projection);
        g_device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        g_presenter->ColorFill(0);
    }
    void TearDown() override {
        Lights.clear();
        Material.reset();
        TearDownGraphics();
    }

    void SetMaterial(D3DCOLORVALUE ambient, D3DCOLORVALUE diffuse, D3DCOLORVALUE specular,
                     float power, D3DCOLORVALUE emissive = {}) {
        D3DMATERIAL m{};
        m.dwSize = sizeof m;
        m.ambient = ambient;
        m.diffuse = diffuse;
        m.specular = specular;
        m.emissive = emissive;
        m.power = power;
        Material->SetMaterial(m);
    }

    void AddLight(const TTestLight& light) {
        D3DLIGHT2 d{};
        d.dwSize = sizeof d;
        d.dltType = light.Type;
        d.dcvColor = light.Color;
        d.dvPosition = light.Position;
        d.dvDirection = light.Direction;
        d.dvRange = light.Range;
        d.dvAttenuation2 = light.Type == D3DLIGHT_POINT ? 1.0f : 0.0f;
        d.dwFlags = light.Active ? D3DLIGHT_ACTIVE : 0;
        Lights.push_back(g_d3d->CreateLight());
        Lights.back()->SetLight(d);
        g_viewport->AddLight(*Lights.back());
    }

    TFrameImage Draw(const D3DVERTEX* v, uint32_t count, D3DPRIMITIVETYPE type) {
        g_device->BeginScene();
        g_device->DrawPrimitive(type, D3DVT_VERTEX, v, count, 0);
        g_device->EndScene();
        return ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    }

    // A triangle a few pixels across centred on (x, y, z), all normals `normal`; returns the
    // colour in its middle, the mean of three nearly equal vertex colours, as 0xRRGGBB.
    uint32_t Shade(float x, float y, float z, D3DVECTOR n = {0, 0, -1}) {
        const float s = 0.015f;
        const D3DVERTEX v[3] = {{x - s, y - s, z, n.x, n.y, n.z, 0, 0},
                                {x, y + 2 * s, z, n.x, n.y, n.z, 0, 0},
                                {x + s, y - s, z, n.x, n.y, n.z, 0, 0}};
        return Rgb(Probe(Draw(v, 3, D3DPT_TRIANGLELIST), ProjectModel({x, y, z})));
    }

    D3DMATRIX Projection = MatrixIdentity();
    std::unique_ptr<TDeviceMaterial> Material;
    std::vector<std::unique_ptr<TDeviceLight>> Lights;
};

struct TShadeRow {
    const char* Name;
    uint32_t Ambient;
    D3DCOLORVALUE MaterialAmbient, Diffuse, Specular;
    float Power;
    D3DCOLORVALUE Emissive;
    std::vector<TTestLight> Lights;
    D3DVECTOR At;
    uint32_t Expected;
    bool SpecularOff = false;
};

const TTestLight kSun{D3DLIGHT_DIRECTIONAL, kWhite, {}, {0, 0, 1}};
const TTestLight kBlueSun{D3DLIGHT_DIRECTIONAL, {0, 0.25f, 1, 0}, {}, {0, 0, 1}};
const TTestLight kLamp{D3DLIGHT_POINT, kWhite, {0, 0, 0}, {}, 100.0f};
const TTestLight kHalf{D3DLIGHT_DIRECTIONAL, {0.75f, 0.75f, 0.75f, 0}, {}, {0, 0, 1}};

const TTestLight kRedLamp{D3DLIGHT_POINT, {2, 2, 2, 0}, {0, 0, -199}, {}, 400.0f};
const TTestLight kFarLamp{D3DLIGHT_POINT, {2, 2, 2, 0}, {0, 0, -449}, {}, 400.0f};
const TTestLight kMinus{D3DLIGHT_DIRECTIONAL, {-0.75f, -0.75f, -0.75f, 0}, {}, {0, 0, 1}};
const TTestLight kOff{D3DLIGHT_DIRECTIONAL, kWhite, {}, {0, 0, 1}, 0, false};

// clang-format off
const TShadeRow kShadeRows[] = {
    {"ambient state only", 0xFF002000, kWhite, kWhite, kBlack, 0, {}, {}, {0, 0, 1}, 0x002000},
    {"ambient times the material's", 0x00408040, {0.5f, 0.25f, 1, 0}, kBlack, kBlack, 0, {}, {},
        {0, 0, 1}, 0x202040},
    {"ambient and diffuse", 0xFF002000, kWhite, kWhite, kBlack, 0, {}, {kBlueSun}, {0, 0, 1},
        0x0060FF},
    {"specular straight on", 0, kBlack, kBlack, kWhite, 30, {}, {kSun}, {0, 0, 1}, 0xFFFFFF},
    {"specular, local viewer", 0, kBlack, kBlack, kWhite, 30, {}, {kSun}, {0, 0.5f, 1}, 0x717171},
    {"specular off axis", 0, kBlack, kBlack, kWhite, 30, {}, {kSun}, {-0.5f, 0.5f, 1}, 0x3C3C3C},
    {"point specular", 0, kBlack, kBlack, kWhite, 30, {}, {kLamp}, {0, 0, 1}, 0xFAFAFA},
    {"point specular attenuated", 0, kBlack, kBlack, kWhite, 30, {}, {kLamp}, {0, 0.5f, 1}, 0x090909},
    {"power zero: no specular", 0, kBlack, kBlack, kWhite, 0, {}, {kSun}, {0, 0, 1}, 0},
    {"specular enable off", 0, kBlack, kBlack, kWhite, 30, {}, {kSun}, {0, 0, 1}, 0, true},
    // Distance 200 of 400: (1 - 200/400)^2 * 2.0 = 0.5.
    {"point fall-off", 0, kBlack, kWhite, kBlack, 0, {}, {kRedLamp}, {0, 0, 1}, 0x808080},
    {"beyond the range", 0x00404040, kWhite, kWhite, kBlack, 0, {}, {kFarLamp}, {0, 0, 1}, 0x404040},
    {"summed, clamped", 0, kBlack, kWhite, kBlack, 0, {}, {kHalf, kHalf}, {0, 0, 1}, 0xFFFFFF},
    {"summed, then clamped", 0, kBlack, kWhite, kBlack, 0, {}, {kHalf, kHalf, kMinus}, {0, 0, 1},
        0xBFBFBF},
    {"emissive", 0, kBlack, kBlack, kBlack, 0, {1, 0, 0, 0}, {}, {0, 0, 1}, 0xFF0000},
    {"inactive light", 0, kBlack, kWhite, kBlack, 0, {}, {kOff}, {0, 0, 1}, 0},
};
// clang-format on

TEST_F(GlLighting, VertexColoursFollowTheDirectXFormulas) {
    for (const TShadeRow& row : kShadeRows) {
        SCOPED_TRACE(row.Name);
        g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, row.Ambient);
        g_device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, row.SpecularOff ? 0 : 1);
        SetMaterial(row.MaterialAmbient, row.Diffuse, row.Specular, row.Power, row.Emissive);
        Lights.clear(); // a light leaves the viewport as it goes
        for (const TTestLight& light : row.Lights) {
            AddLight(light);
        }
        EXPECT_TRUE(NearRgb(Shade(row.At.x, row.At.y, row.At.z), row.Expected));
    }
}

TEST_F(GlLighting, NormalsAreRenormalisedAfterTheWorldTransform) {
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0xFF002000);
    SetMaterial(kWhite, kWhite, kBlack, 0.0f);
    AddLight(kBlueSun);
    D3DMATRIX world = MatrixIdentity();
    world._13 = world._31 = 1;
    world._43 = 0.5f;
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    EXPECT_TRUE(NearRgb(Shade(-1, 0, 1), 0x004DB4));
}

TEST_F(GlLighting, LinearFogBlendsTowardTheFogColourByProjectedW) {
    // A projection with w = z; each point is placed so that it still lands where x/w says.
    Projection._34 = 1.0f;
    Projection._44 = 0.0f;
    g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Projection);
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 1, 1, 0});
    g_device->SetRenderState(D3DRENDERSTATE_FOGENABLE, D3DSTATE_TRUE);
    g_device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, 0x000000FF);
    g_device->SetLightState(D3DLIGHTSTATE_FOGSTART, D3DStateFromFloat(0.2f));
    g_device->SetLightState(D3DLIGHTSTATE_FOGEND, D3DStateFromFloat(1.0f));
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1.5f), 0xFFFFFF)); // no vertex fog mode: no fog
    g_device->SetLightState(D3DLIGHTSTATE_FOGMODE, D3DFOG_LINEAR);
    // f = (1.0 - 0.6) / 0.8 = 0.5 of white, the rest blue.
    EXPECT_TRUE(NearRgb(Shade(0, 0, 0.6f), 0x8080FF));
    EXPECT_TRUE(NearRgb(Shade(0.05f, 0, 0.1f), 0xFFFFFF));
    EXPECT_TRUE(NearRgb(Shade(-0.6f, 0, 1.2f), 0x0000FF));
    // w, not the eye depth: the same eye depth under a projection that halves w is fogged less.
    Projection._34 = 0.5f;
    g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Projection);
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1.2f), 0x8080FF));
}

// Outside a scene nothing is drawn; clockwise triangles are kept under D3DCULL_CCW, the others
// under D3DCULL_CW; flat shading takes the first vertex's colour.
TEST_F(GlLighting, ScenesCullingAndFlatShading) {
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 1, 1, 0});
    g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, kBigTriangle, 3, 0);
    TFrameImage frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    EXPECT_EQ(Rgb(Probe(frame, {320, 260})), 0u);
    const D3DVERTEX clockwise[3] = {kBigTriangle[1], kBigTriangle[2], kBigTriangle[0]};
    const D3DVERTEX counter[3] = {kBigTriangle[1], kBigTriangle[0], kBigTriangle[2]};
    const struct {
        D3DCULL Mode;
        const D3DVERTEX* Vertices;
        uint32_t Expected;
    } culls[] = {{D3DCULL_CCW, counter, 0},
                 {D3DCULL_CCW, clockwise, 0xFFFFFF},
                 {D3DCULL_CW, clockwise, 0},
                 {D3DCULL_CW, counter, 0xFFFFFF}};
    for (const auto& cull : culls) {
        SCOPED_TRACE(::testing::Message() << "cull " << cull.Mode << " " << cull.Expected);
        g_presenter->ColorFill(0);
        g_device->SetRenderState(D3DRENDERSTATE_CULLMODE, cull.Mode);
        EXPECT_EQ(Rgb(Probe(Draw(cull.Vertices, 3, D3DPT_TRIANGLELIST), {320, 260})),
                  cull.Expected);
    }
    g_device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    SetMaterial(kBlack, kWhite, kBlack, 0.0f);
    AddLight(kSun);
    g_device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
    D3DVERTEX flat[3] = {kBigTriangle[0], kBigTriangle[1], kBigTriangle[2]};
    flat[1].nz = flat[2].nz = 1; // facing away from the light: black if smoothed
    frame = Draw(flat, 3, D3DPT_TRIANGLELIST);
    EXPECT_EQ(Rgb(Probe(frame, {330, 300})), 0xFFFFFFu);
    EXPECT_EQ(Rgb(Probe(frame, {320, 150})), 0xFFFFFFu);
}

TEST_F(GlLighting, DepthClearThroughTheViewportOnlyTouchesItsRectangle) {
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 1, 1, 0});
    g_device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DSTATE_TRUE);
    const auto quad = [this](float z) {
        const D3DVERTEX v[4] = {{-1, 1, z, 0, 0, -1, 0, 0},
                                {1, 1, z, 0, 0, -1, 0, 0},
                                {1, -1, z, 0, 0, -1, 0, 0},
                                {-1, -1, z, 0, 0, -1, 0, 0}};
        return Draw(v, 4, D3DPT_TRIANGLEFAN);
    };
    const D3DRECT all{0, 0, 640, 480};
    g_viewport->Clear(1, &all, D3DCLEAR_ZBUFFER);
    quad(1.0f); // near: depth 0.5
    g_presenter->ColorFill(0);
    const D3DRECT left{0, 0, 320, 480};
    g_viewport->Clear(1, &left, D3DCLEAR_ZBUFFER);
    const TFrameImage frame = quad(1.5f); // farther: passes only where the depth was cleared
    EXPECT_EQ(Rgb(Probe(frame, {100, 240})), 0xFFFFFFu);
    EXPECT_EQ(Rgb(Probe(frame, {540, 240})), 0u);
}

} // namespace
