#include "GlHarness.h"

#include "device/Setdx.h"
#include "scene/Light.h"
#include "scene/Transmat.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The lighting, fog and depth rules checked on single small triangles against values known from
// DirectX 5 era devices: identity view, a projection that keeps w = 1, a 640 x 480 screen with
// the clip window (-1, 1)-(1, -1), so that (x, y) lands on pixel (320 + 320x, 240 - 240y).

namespace {

// Within 2 steps of 255 on every channel of the expected 0xRRGGBB.
::testing::AssertionResult NearRgb(const TColor& seen, uint32_t rgb) {
    const TColor expected{(rgb >> 16) / 255.0, (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
    if (Distance(seen, expected) <= 2.5 / 255) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "seen " << seen.R << "," << seen.G << "," << seen.B;
}

const D3DCOLORVALUE kWhite{1, 1, 1, 1};
const D3DCOLORVALUE kBlack{0, 0, 0, 0};

D3DMATERIAL Mat(D3DCOLORVALUE ambient, D3DCOLORVALUE diffuse, D3DCOLORVALUE specular, float power,
                D3DCOLORVALUE emissive = {}) {
    return {sizeof(D3DMATERIAL), diffuse, ambient, specular, emissive, power, 0, 0};
}
const D3DMATERIAL kGlow = Mat(kBlack, kBlack, kBlack, 0, kWhite);
const D3DMATERIAL kShiny = Mat(kBlack, kBlack, kWhite, 30);
const D3DMATERIAL kMatte = Mat(kBlack, kWhite, kBlack, 0);

// A directional light shining along `at`, or a point light at `at` falling off as (0, 0, 1),
// the scene's.
D3DLIGHT2 Light(D3DLIGHTTYPE type, D3DCOLORVALUE color, D3DVECTOR at, float range = 0,
                bool active = true) {
    D3DLIGHT2 d{};
    d.dwSize = sizeof d;
    d.dltType = type;
    d.dcvColor = color;
    (type == D3DLIGHT_POINT ? d.dvPosition : d.dvDirection) = at;
    d.dvRange = range;
    d.dvAttenuation2 = type == D3DLIGHT_POINT ? 1.0f : 0.0f;
    d.dwFlags = active ? D3DLIGHT_ACTIVE : 0;
    return d;
}

class GlLighting : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpGraphics(640, 480);
        D3DVIEWPORT2 vp = g_viewport->GetViewport2();
        vp.dvClipX = -1.0f;
        vp.dvClipY = 1.0f;
        vp.dvClipWidth = vp.dvClipHeight = 2.0f;
        g_viewport->SetViewport2(vp);
        for (TLight* light : g_lights) { // the scene's own lights stay out of these tests
            light->D3DLight->SetLight(Light(D3DLIGHT_DIRECTIONAL, kWhite, {0, 0, 1}, 0, false));
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

    void Use(const D3DMATERIAL& material, const std::vector<D3DLIGHT2>& lights = {}) {
        Material->SetMaterial(material);
        Lights.clear(); // a light leaves the viewport as it goes
        for (const D3DLIGHT2& light : lights) {
            Lights.push_back(g_d3d->CreateLight());
            Lights.back()->SetLight(light);
            g_viewport->AddLight(*Lights.back());
        }
    }

    // A triangle a few pixels across centred on (x, y, z), facing the viewer; returns the colour
    // in its middle, the mean of three nearly equal vertex colours.
    TColor Shade(float x, float y, float z) {
        const float s = 0.015f;
        const D3DVERTEX v[3] = {{x - s, y - s, z, 0, 0, -1, 0, 0},
                                {x, y + 2 * s, z, 0, 0, -1, 0, 0},
                                {x + s, y - s, z, 0, 0, -1, 0, 0}};
        g_device->BeginScene();
        g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, v, 3, 0);
        g_device->EndScene();
        return Probe(ReadBack(), Project({x, y, z}));
    }

    D3DMATRIX Projection = MatrixIdentity();
    std::unique_ptr<TDeviceMaterial> Material;
    std::vector<std::unique_ptr<TDeviceLight>> Lights;
};

const D3DLIGHT2 kSun = Light(D3DLIGHT_DIRECTIONAL, kWhite, {0, 0, 1});
const D3DLIGHT2 kBlueSun = Light(D3DLIGHT_DIRECTIONAL, {0, 0.25f, 1, 0}, {0, 0, 1});
const D3DLIGHT2 kLamp = Light(D3DLIGHT_POINT, kWhite, {0, 0, 0}, 100.0f);
const D3DLIGHT2 kHalf = Light(D3DLIGHT_DIRECTIONAL, {0.75f, 0.75f, 0.75f, 0}, {0, 0, 1});
const D3DLIGHT2 kNearLamp = Light(D3DLIGHT_POINT, {2, 2, 2, 0}, {0, 0, -199}, 400.0f);
const D3DLIGHT2 kFarLamp = Light(D3DLIGHT_POINT, {2, 2, 2, 0}, {0, 0, -449}, 400.0f);
const D3DLIGHT2 kMinus = Light(D3DLIGHT_DIRECTIONAL, {-0.75f, -0.75f, -0.75f, 0}, {0, 0, 1});

const D3DLIGHT2 kOff = Light(D3DLIGHT_DIRECTIONAL, kWhite, {0, 0, 1}, 0, false);
const D3DMATERIAL kLit = Mat(kWhite, kWhite, kBlack, 0);
const D3DMATERIAL kTinted = Mat({0.5f, 0.25f, 1, 0}, kBlack, kBlack, 0);
const D3DMATERIAL kRed = Mat(kBlack, kBlack, kBlack, 0, {1, 0, 0, 0});

TEST_F(GlLighting, VertexColoursFollowTheDirectXFormulas) {
    const struct {
        const char* Name;
        uint32_t Ambient;
        D3DMATERIAL Material;
        std::vector<D3DLIGHT2> Lights;
        uint32_t Expected;
        D3DVECTOR At = {0, 0, 1};
        bool SpecularOff = false;
    } rows[] = {
        {"ambient state only", 0xFF002000, kLit, {}, 0x002000},
        {"ambient times the material's", 0x00408040, kTinted, {}, 0x202040},
        {"ambient and diffuse", 0xFF002000, kLit, {kBlueSun}, 0x0060FF},
        {"specular straight on", 0, kShiny, {kSun}, 0xFFFFFF},
        {"specular, local viewer", 0, kShiny, {kSun}, 0x717171, {0, 0.5f, 1}},
        {"specular off axis", 0, kShiny, {kSun}, 0x3C3C3C, {-0.5f, 0.5f, 1}},
        {"point specular attenuated", 0, kShiny, {kLamp}, 0x090909, {0, 0.5f, 1}},
        {"power zero: no specular", 0, Mat(kBlack, kBlack, kWhite, 0), {kSun}, 0},
        {"specular enable off", 0, kShiny, {kSun}, 0, {0, 0, 1}, true},
        // Distance 200 of 400: (1 - 200/400)^2 * 2.0 = 0.5.
        {"point fall-off", 0, kMatte, {kNearLamp}, 0x808080},
        {"beyond the range", 0x00404040, kLit, {kFarLamp}, 0x404040},
        {"summed, then clamped", 0, kMatte, {kHalf, kHalf, kMinus}, 0xBFBFBF},
        {"emissive", 0, kRed, {}, 0xFF0000},
        {"inactive light", 0, kMatte, {kOff}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, row.Ambient);
        g_device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, row.SpecularOff ? 0 : 1);
        Use(row.Material, row.Lights);
        EXPECT_TRUE(NearRgb(Shade(row.At.x, row.At.y, row.At.z), row.Expected));
    }
    // Normals are renormalised after a world transform that stretches them.
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0xFF002000);
    Use(kLit, {kBlueSun});
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
    Use(kGlow);
    g_device->SetRenderState(D3DRENDERSTATE_FOGENABLE, D3DSTATE_TRUE);
    g_device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, 0x000000FF);
    g_device->SetLightState(D3DLIGHTSTATE_FOGSTART, D3DStateFromFloat(0.2f));
    g_device->SetLightState(D3DLIGHTSTATE_FOGEND, D3DStateFromFloat(1.0f));
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1.5f), 0xFFFFFF)); // no vertex fog mode: no fog
    g_device->SetLightState(D3DLIGHTSTATE_FOGMODE, D3DFOG_LINEAR);
    // f = (1.0 - 0.6) / 0.8 = 0.5 of white, the rest blue.
    EXPECT_TRUE(NearRgb(Shade(0, 0, 0.6f), 0x8080FF));
    EXPECT_TRUE(NearRgb(Shade(-0.6f, 0, 1.2f), 0x0000FF));
    // w, not the eye depth: the same eye depth under a projection that halves w is fogged less.
    Projection._34 = 0.5f;
    g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Projection);
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1.2f), 0x8080FF));
}

} // namespace
