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
        const int a = static_cast<int>((seen >> shift) & 0xFF);
        const int b = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) {
            char text[64];
            std::snprintf(text, sizeof text, "seen 0x%06X, expected 0x%06X", seen, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

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
        D3DMATRIX projection = MatrixIdentity();
        projection._33 = 0.5f; // depth 0.5 at z = 1, well inside the clip volume
        g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, projection);
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

    void AddLight(D3DLIGHTTYPE type, D3DCOLORVALUE color, D3DVECTOR position, D3DVECTOR direction,
                  float range = 0.0f, float a0 = 0, float a1 = 0, float a2 = 0) {
        D3DLIGHT2 d{};
        d.dwSize = sizeof d;
        d.dltType = type;
        d.dcvColor = color;
        d.dvPosition = position;
        d.dvDirection = direction;
        d.dvRange = range;
        d.dvAttenuation0 = a0;
        d.dvAttenuation1 = a1;
        d.dvAttenuation2 = a2;
        d.dwFlags = D3DLIGHT_ACTIVE;
        Lights.push_back(g_d3d->CreateLight());
        Lights.back()->SetLight(d);
        g_viewport->AddLight(*Lights.back());
    }

    // A triangle a few pixels across around (x, y, z), all normals `normal`; returns the colour
    // in the middle of it as 0xRRGGBB.
    uint32_t Shade(float x, float y, float z, D3DVECTOR normal = {0, 0, -1}) {
        // Centroid at (x, y): its colour is the mean of three nearly equal vertex colours.
        const float s = 0.015f;
        const D3DVERTEX v[3] = {{x - s, y - s, z, normal.x, normal.y, normal.z, 0, 0},
                                {x, y + 2 * s, z, normal.x, normal.y, normal.z, 0, 0},
                                {x + s, y - s, z, normal.x, normal.y, normal.z, 0, 0}};
        g_device->BeginScene();
        g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, v, 3, 0);
        g_device->EndScene();
        const TFrameImage frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
        // Where the pipeline puts the triangle's centroid (World may move it).
        return Rgb(Probe(frame, ProjectModel({x, y, z})));
    }

    std::unique_ptr<TDeviceMaterial> Material;
    std::vector<std::unique_ptr<TDeviceLight>> Lights;
};

const D3DCOLORVALUE kWhite{1, 1, 1, 1};
const D3DCOLORVALUE kBlack{0, 0, 0, 0};

TEST_F(GlLighting, AmbientAndDiffuseOfADirectionalLight) {
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0xFF002000);
    SetMaterial(kWhite, kWhite, kBlack, 0.0f);
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0x002000)); // no light: the ambient light state only
    AddLight(D3DLIGHT_DIRECTIONAL, {0, 0.25f, 1, 0}, {}, {0, 0, 1});
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0x0060FF));
}

TEST_F(GlLighting, NormalsAreRenormalisedAfterTheWorldTransform) {
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0xFF002000);
    SetMaterial(kWhite, kWhite, kBlack, 0.0f);
    AddLight(D3DLIGHT_DIRECTIONAL, {0, 0.25f, 1, 0}, {}, {0, 0, 1});
    D3DMATRIX world{};
    world._11 = 1;
    world._13 = 1;
    world._22 = 1;
    world._31 = 1;
    world._33 = 1;
    world._43 = 0.5f;
    world._44 = 1;
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    EXPECT_TRUE(NearRgb(Shade(-1, 0, 1), 0x004DB4));
}

TEST_F(GlLighting, SpecularOfADirectionalLightUsesALocalViewer) {
    SetMaterial(kBlack, kBlack, kWhite, 30.0f);
    AddLight(D3DLIGHT_DIRECTIONAL, kWhite, {}, {0, 0, 1});
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0xFFFFFF));
    EXPECT_TRUE(NearRgb(Shade(0, 0.5f, 1), 0x717171));
    EXPECT_TRUE(NearRgb(Shade(-0.5f, 0.5f, 1), 0x3C3C3C));
}

TEST_F(GlLighting, SpecularOfAPointLightIsAttenuated) {
    SetMaterial(kBlack, kBlack, kWhite, 30.0f);
    AddLight(D3DLIGHT_POINT, kWhite, {0, 0, 0}, {}, 100.0f, 0, 0, 1);
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0xFAFAFA));
    EXPECT_TRUE(NearRgb(Shade(0, 0.5f, 1), 0x090909));
}

TEST_F(GlLighting, PowerZeroGivesNoSpecular) {
    SetMaterial(kBlack, kBlack, kWhite, 0.0f);
    AddLight(D3DLIGHT_DIRECTIONAL, kWhite, {}, {0, 0, 1});
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0x000000, 0));
}

TEST_F(GlLighting, SpecularEnableOffRemovesHighlights) {
    SetMaterial(kBlack, kBlack, kWhite, 30.0f);
    AddLight(D3DLIGHT_DIRECTIONAL, kWhite, {}, {0, 0, 1});
    g_device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, D3DSTATE_FALSE);
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0x000000, 0));
}

// The scene's point light: colour 2.0, range 400, attenuation (0, 0, 1).
TEST_F(GlLighting, PointLightFallsOffAsTheSquareOfTheRemainingRange) {
    SetMaterial(kBlack, kWhite, kBlack, 0.0f);
    AddLight(D3DLIGHT_POINT, {2, 2, 2, 0}, {0, 0, -199}, {}, 400.0f, 0, 0, 1);
    // Distance 200: (1 - 200/400)^2 * 2.0 = 0.5.
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0x808080));
}

TEST_F(GlLighting, NoLightReachesBeyondTheRange) {
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0x00404040);
    SetMaterial(kWhite, kWhite, kBlack, 0.0f);
    AddLight(D3DLIGHT_POINT, {2, 2, 2, 0}, {0, 0, -449}, {}, 400.0f, 0, 0, 1);
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0x404040));
}

TEST_F(GlLighting, ColoursAreSummedOverLightsAndClampedOnce) {
    // Two lights of 0.75 on a surface facing both: 1.5 clamps to white, and a light of -0.5
    // taken away after that would not matter, but summed first it brings the sum to 1.0.
    SetMaterial(kBlack, kWhite, kBlack, 0.0f);
    AddLight(D3DLIGHT_DIRECTIONAL, {0.75f, 0.75f, 0.75f, 0}, {}, {0, 0, 1});
    AddLight(D3DLIGHT_DIRECTIONAL, {0.75f, 0.75f, 0.75f, 0}, {}, {0, 0, 1});
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0xFFFFFF));
    AddLight(D3DLIGHT_DIRECTIONAL, {-0.75f, -0.75f, -0.75f, 0}, {}, {0, 0, 1});
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0xBFBFBF));
}

TEST_F(GlLighting, EmissiveLightsWithoutAnyLight) {
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 0, 0, 0});
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0xFF0000, 0));
}

TEST_F(GlLighting, InactiveLightsDoNotLight) {
    SetMaterial(kBlack, kWhite, kBlack, 0.0f);
    AddLight(D3DLIGHT_DIRECTIONAL, kWhite, {}, {0, 0, 1});
    D3DLIGHT2 off = Lights.back()->GetLight();
    off.dwFlags = 0;
    Lights.back()->SetLight(off);
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1), 0x000000, 0));
}

TEST_F(GlLighting, LinearFogBlendsTowardTheFogColourByProjectedW) {
    // A projection with w = z; each point is placed so that it still lands where x/w says.
    D3DMATRIX projection = MatrixIdentity();
    projection._33 = 0.5f;
    projection._34 = 1.0f;
    projection._44 = 0.0f;
    g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, projection);
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 1, 1, 0});
    g_device->SetRenderState(D3DRENDERSTATE_FOGENABLE, D3DSTATE_TRUE);
    g_device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, 0x000000FF);
    g_device->SetLightState(D3DLIGHTSTATE_FOGMODE, D3DFOG_LINEAR);
    g_device->SetLightState(D3DLIGHTSTATE_FOGSTART, D3DStateFromFloat(0.2f));
    g_device->SetLightState(D3DLIGHTSTATE_FOGEND, D3DStateFromFloat(1.0f));
    // f = (1.0 - 0.6) / 0.8 = 0.5 of white, the rest blue.
    EXPECT_TRUE(NearRgb(Shade(0, 0, 0.6f), 0x8080FF));
    EXPECT_TRUE(NearRgb(Shade(0.05f, 0, 0.1f), 0xFFFFFF));
    EXPECT_TRUE(NearRgb(Shade(-0.6f, 0, 1.2f), 0x0000FF));
    // w, not the eye depth: the same eye depth under a projection that halves w is fogged less.
    projection._34 = 0.5f;
    g_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, projection);
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1.2f), 0x8080FF));
}

TEST_F(GlLighting, FogEnableWithoutAVertexFogModeLeavesColours) {
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 1, 1, 0});
    g_device->SetRenderState(D3DRENDERSTATE_FOGENABLE, D3DSTATE_TRUE);
    g_device->SetLightState(D3DLIGHTSTATE_FOGSTART, D3DStateFromFloat(0.2f));
    g_device->SetLightState(D3DLIGHTSTATE_FOGEND, D3DStateFromFloat(1.0f));
    EXPECT_TRUE(NearRgb(Shade(0, 0, 1.5f), 0xFFFFFF));
}

TEST_F(GlLighting, NothingIsDrawnOutsideAScene) {
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 1, 1, 0});
    const D3DVERTEX v[3] = {{-0.5f, -0.5f, 1, 0, 0, -1, 0, 0},
                            {0, 0.5f, 1, 0, 0, -1, 0, 0},
                            {0.5f, -0.5f, 1, 0, 0, -1, 0, 0}};
    g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, v, 3, 0);
    const TFrameImage frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    EXPECT_EQ(Rgb(Probe(frame, {320, 260})), 0u);
}

TEST_F(GlLighting, CullingKeepsClockwiseTrianglesByDefault) {
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 1, 1, 0});
    g_device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    // Clockwise on screen (y up in clip space): top, right, left... drawn; the reverse is culled.
    const D3DVERTEX clockwise[3] = {{0, 0.5f, 1, 0, 0, -1, 0, 0},
                                    {0.2f, -0.2f, 1, 0, 0, -1, 0, 0},
                                    {-0.2f, -0.2f, 1, 0, 0, -1, 0, 0}};
    const D3DVERTEX counter[3] = {clockwise[0], clockwise[2], clockwise[1]};
    g_device->BeginScene();
    g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, counter, 3, 0);
    g_device->EndScene();
    TFrameImage frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    EXPECT_EQ(Rgb(Probe(frame, {320, 240})), 0u);
    g_device->BeginScene();
    g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, clockwise, 3, 0);
    g_device->EndScene();
    frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    EXPECT_EQ(Rgb(Probe(frame, {320, 240})), 0xFFFFFFu);
    // D3DCULL_CW culls the other way round.
    g_presenter->ColorFill(0);
    g_device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
    g_device->BeginScene();
    g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, clockwise, 3, 0);
    g_device->EndScene();
    frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    EXPECT_EQ(Rgb(Probe(frame, {320, 240})), 0u);
}

TEST_F(GlLighting, FlatShadingTakesTheFirstVertexColour) {
    SetMaterial(kBlack, kWhite, kBlack, 0.0f);
    AddLight(D3DLIGHT_DIRECTIONAL, kWhite, {}, {0, 0, 1});
    g_device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
    // First vertex faces the light, the others face away.
    const D3DVERTEX v[3] = {{-0.5f, -0.5f, 1, 0, 0, -1, 0, 0},
                            {0, 0.5f, 1, 0, 0, 1, 0, 0},
                            {0.5f, -0.5f, 1, 0, 0, 1, 0, 0}};
    g_device->BeginScene();
    g_device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, v, 3, 0);
    g_device->EndScene();
    const TFrameImage frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    EXPECT_EQ(Rgb(Probe(frame, {330, 300})), 0xFFFFFFu);
    EXPECT_EQ(Rgb(Probe(frame, {320, 150})), 0xFFFFFFu);
}

TEST_F(GlLighting, DepthClearThroughTheViewportOnlyTouchesItsRectangle) {
    SetMaterial(kBlack, kBlack, kBlack, 0.0f, {1, 1, 1, 0});
    g_device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DSTATE_TRUE);
    const auto quad = [](float z) {
        g_device->BeginScene();
        const D3DVERTEX v[4] = {{-1, 1, z, 0, 0, -1, 0, 0},
                                {1, 1, z, 0, 0, -1, 0, 0},
                                {1, -1, z, 0, 0, -1, 0, 0},
                                {-1, -1, z, 0, 0, -1, 0, 0}};
        g_device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, v, 4, 0);
        g_device->EndScene();
    };
    const D3DRECT all{0, 0, 640, 480};
    g_viewport->Clear(1, &all, D3DCLEAR_ZBUFFER);
    quad(1.0f); // near: depth 0.5
    g_presenter->ColorFill(0);
    const D3DRECT left{0, 0, 320, 480};
    g_viewport->Clear(1, &left, D3DCLEAR_ZBUFFER);
    quad(1.5f); // farther: passes only where the depth was cleared
    const TFrameImage frame = ReadFrame(static_cast<TGlPresenter*>(g_presenter)->Screen());
    EXPECT_EQ(Rgb(Probe(frame, {100, 240})), 0xFFFFFFu);
    EXPECT_EQ(Rgb(Probe(frame, {540, 240})), 0u);
}

} // namespace
