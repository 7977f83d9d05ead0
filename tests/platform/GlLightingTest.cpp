#include "GlHarness.h"

#include "device/Setdx.h"
#include "scene/Light.h"
#include "scene/Transmat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

// The lighting and fog rules on single small triangles against DirectX 5's formulas.

namespace {

// The mean of the 3x3 pixels round (x, y) within 2.5 steps on every channel of 0xRRGGBB.
::testing::AssertionResult NearRgb(const TFrameImage& frame, double x, double y, uint32_t rgb) {
    double seen[3] = {};
    for (int i = 0; i < 9; ++i) {
        const auto p = frame.At(int(std::floor(x)) + i % 3 - 1, int(std::floor(y)) + i / 3 - 1);
        seen[0] += p.R / 9.0, seen[1] += p.G / 9.0, seen[2] += p.B / 9.0;
    }
    for (int c = 0; c < 3; ++c) {
        if (std::abs(seen[c] - (rgb >> (16 - 8 * c) & 0xFF)) > 2.5) {
            return ::testing::AssertionFailure()
                   << "seen " << seen[0] << "," << seen[1] << "," << seen[2];
        }
    }
    return ::testing::AssertionSuccess();
}

const D3DCOLORVALUE kWhite{1, 1, 1, 1};
const D3DCOLORVALUE kBlack{0, 0, 0, 0};

D3DMATERIAL Mat(D3DCOLORVALUE ambient, D3DCOLORVALUE diffuse, D3DCOLORVALUE specular, float power,
                D3DCOLORVALUE emissive = {}) {
    return {sizeof(D3DMATERIAL), diffuse, ambient, specular, emissive, power, 0, 0};
}
// A directional light shining along `at`, or a point light at `at` falling off as the scene's.
D3DLIGHT2 Light(D3DLIGHTTYPE type, D3DCOLORVALUE color, D3DVECTOR at, float range = 0,
                bool active = true) {
    const bool point = type == D3DLIGHT_POINT;
    // clang-format off
    return {sizeof(D3DLIGHT2), type, color, point ? at : D3DVECTOR{}, point ? D3DVECTOR{} : at,
            range, 0, 0, 0, point ? 1.0f : 0.0f, 0, 0, uint32_t(active ? D3DLIGHT_ACTIVE : 0)};
    // clang-format on
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

    // Whether a small triangle at (x, y, z) facing the viewer is `rgb` on (x/w, y/w).
    ::testing::AssertionResult Shade(float x, float y, float z, uint32_t rgb) {
        const float s = 0.015f;
        const D3DVERTEX v[3] = {{x - s, y - s, z, 0, 0, -1, 0, 0},
                                {x, y + 2 * s, z, 0, 0, -1, 0, 0},
                                {x + s, y - s, z, 0, 0, -1, 0, 0}};
        g_device->BeginScene();
        g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, v, 3, 0);
        g_device->EndScene();
        const double w = z * Projection._34 + Projection._44;
        return NearRgb(ReadBack(), 320 + 320 * x / w, 240 - 240 * y / w, rgb);
    }

    D3DMATRIX Projection = MatrixIdentity();
    std::unique_ptr<TDeviceMaterial> Material;
    std::vector<std::unique_ptr<TDeviceLight>> Lights;
};

TEST_F(GlLighting, VertexColoursAndFogFollowTheDirectXFormulas) {
    const D3DLIGHT2 sun = Light(D3DLIGHT_DIRECTIONAL, kWhite, {0, 0, 1});
    const D3DLIGHT2 blueSun = Light(D3DLIGHT_DIRECTIONAL, {0, 0.25f, 1, 0}, {0, 0, 1});
    const D3DLIGHT2 lamp = Light(D3DLIGHT_POINT, kWhite, {0, 0, 0}, 100.0f);
    const D3DLIGHT2 half = Light(D3DLIGHT_DIRECTIONAL, {0.75f, 0.75f, 0.75f, 0}, {0, 0, 1});
    const D3DLIGHT2 minus = Light(D3DLIGHT_DIRECTIONAL, {-0.75f, -0.75f, -0.75f, 0}, {0, 0, 1});
    const D3DMATERIAL lit = Mat(kWhite, kWhite, kBlack, 0), shiny = Mat(kBlack, kBlack, kWhite, 30),
                      matte = Mat(kBlack, kWhite, kBlack, 0);
    const struct {
        const char* Name;
        uint32_t Ambient;
        D3DMATERIAL Material;
        std::vector<D3DLIGHT2> Lights;
        uint32_t Expected;
        D3DVECTOR At = {0, 0, 1};
        bool SpecularOff = false;
    } rows[] = {
        // clang-format off
        {"ambient times the material's", 0x00408040, Mat({0.5f, 0.25f, 1, 0}, kBlack, kBlack, 0),
         {}, 0x202040},
        {"ambient and diffuse", 0xFF002000, lit, {blueSun}, 0x0060FF},
        {"specular, local viewer", 0, shiny, {sun}, 0x717171, {0, 0.5f, 1}},
        {"specular off axis", 0, shiny, {sun}, 0x3C3C3C, {-0.5f, 0.5f, 1}},
        {"point specular attenuated", 0, shiny, {lamp}, 0x090909, {0, 0.5f, 1}},
        {"power zero: no specular", 0, Mat(kBlack, kBlack, kWhite, 0), {sun}, 0},
        {"specular enable off", 0, shiny, {sun}, 0, {0, 0, 1}, true},
        // Distance 200 of 400: (1 - 200/400)^2 * 2.0 = 0.5.
        {"point fall-off", 0, matte, {Light(D3DLIGHT_POINT, {2, 2, 2, 0}, {0, 0, -199}, 400)},
         0x808080},
        {"beyond the range", 0x00404040, lit, {Light(D3DLIGHT_POINT, kWhite, {0, 0, -449}, 400)},
         0x404040},
        {"summed, then clamped", 0, matte, {half, half, minus}, 0xBFBFBF},
        {"emissive", 0, Mat(kBlack, kBlack, kBlack, 0, {1, 0, 0, 0}), {}, 0xFF0000},
        {"inactive light", 0, matte, {Light(D3DLIGHT_DIRECTIONAL, kWhite, {0, 0, 1}, 0, false)}, 0},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, row.Ambient);
        g_device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, row.SpecularOff ? 0 : 1);
        Use(row.Material, row.Lights);
        EXPECT_TRUE(Shade(row.At.x, row.At.y, row.At.z, row.Expected));
    }
    // Normals are renormalised after a world transform that stretches them.
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0xFF002000);
    Use(lit, {blueSun});
    D3DMATRIX world = MatrixIdentity();
    world._13 = world._31 = 1;
    world._43 = 0.5f;
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    EXPECT_TRUE(Shade(0, 0, 0, 0x004DB4));

    // Linear fog by the projected w, from a projection with w = z.
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, MatrixIdentity());
    Projection._34 = 1.0f;
    Projection._44 = 0.0f;
    g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Projection);
    Use(Mat(kBlack, kBlack, kBlack, 0, kWhite));
    g_device->SetRenderState(D3DRENDERSTATE_FOGENABLE, D3DSTATE_TRUE);
    g_device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, 0x000000FF);
    g_device->SetLightState(D3DLIGHTSTATE_FOGSTART, D3DStateFromFloat(0.2f));
    g_device->SetLightState(D3DLIGHTSTATE_FOGEND, D3DStateFromFloat(1.0f));
    EXPECT_TRUE(Shade(0, 0, 1.5f, 0xFFFFFF)); // no vertex fog mode: no fog
    g_device->SetLightState(D3DLIGHTSTATE_FOGMODE, D3DFOG_LINEAR);
    // f = (1.0 - 0.6) / 0.8 = 0.5 of white, the rest blue.
    EXPECT_TRUE(Shade(0, 0, 0.6f, 0x8080FF));
    EXPECT_TRUE(Shade(-0.6f, 0, 1.2f, 0x0000FF));
    // The same eye depth under a projection that halves w is fogged less.
    Projection._34 = 0.5f;
    g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Projection);
    EXPECT_TRUE(Shade(0, 0, 1.2f, 0x8080FF));
}

} // namespace
