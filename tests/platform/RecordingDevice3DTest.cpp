#include "platform/RecordingDevice3D.h"

#include <gtest/gtest.h>

namespace {

struct TRecordingFixture : ::testing::Test {
    TRecordingLog log;
    TRecordingDirect3D d3d{log};
    std::unique_ptr<TDevice3D> device = d3d.CreateDevice(devHardware);
    std::unique_ptr<TDeviceViewport> viewport = d3d.CreateViewport();
    std::unique_ptr<TDeviceMaterial> material = d3d.CreateMaterial();
};

D3DMATRIX Translation(float x, float y, float z) {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    m._41 = x;
    m._42 = y;
    m._43 = z;
    return m;
}

D3DMATERIAL Coloured(float r, float g, float b) {
    D3DMATERIAL m{};
    m.dwSize = 80;
    m.diffuse = {r, g, b, 0.0f};
    return m;
}

const D3DVERTEX kTriangle[3] = {
    {0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 0, 0}, {0, 1, 0, 0, 0, 1, 0, 0}};

} // namespace

// ---- one ordered log across all objects ----

TEST_F(TRecordingFixture, CallsOfDifferentObjectsLandInOneLogInCallOrder) {
    log.Clear();
    device->BeginScene();
    material->SetMaterial(Coloured(1, 0, 0));
    device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, kTriangle, 3, 0);
    device->EndScene();

    const std::vector<TCallKind> expected = {callBeginScene, callSetMaterial, callDrawPrimitive,
                                             callEndScene};
    EXPECT_EQ(log.Kinds(), expected);
    EXPECT_EQ(log[0].Object, device.get());
    EXPECT_EQ(log[1].Object, material.get());
    EXPECT_EQ(log[2].Object, device.get());
}

TEST_F(TRecordingFixture, DrawPrimitiveKeepsTypeVertexTypeArrayCountAndFlags) {
    log.Clear();
    device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, kTriangle, 3, 0);
    ASSERT_EQ(log.Size(), 1u);
    EXPECT_EQ(log[0].Type, D3DPT_TRIANGLEFAN);
    EXPECT_EQ(log[0].Value, D3DVT_VERTEX);
    EXPECT_EQ(log[0].Vertices, kTriangle);
    EXPECT_EQ(log[0].Count, 3u);
    EXPECT_EQ(log[0].Flags, 0u);
}

TEST_F(TRecordingFixture, RecordsAreCopiedSoLaterChangesByTheCallerDoNotRewriteHistory) {
    log.Clear();
    D3DMATRIX m = Translation(1, 2, 3);
    device->SetTransform(D3DTRANSFORMSTATE_WORLD, m);
    m._41 = 99.0f;
    D3DMATERIAL mat = Coloured(0.5f, 0.25f, 0.125f);
    material->SetMaterial(mat);
    mat.diffuse.r = 0.0f;

    EXPECT_EQ(log[0].Type, D3DTRANSFORMSTATE_WORLD);
    EXPECT_FLOAT_EQ(log[0].Matrix()._41, 1.0f);
    EXPECT_FLOAT_EQ(log[0].Matrix()._43, 3.0f);
    EXPECT_FLOAT_EQ(log[1].Material().diffuse.r, 0.5f);
    EXPECT_FLOAT_EQ(device->GetTransform(D3DTRANSFORMSTATE_WORLD)._41, 1.0f);
    EXPECT_FLOAT_EQ(material->GetMaterial().diffuse.r, 0.5f);
}

TEST_F(TRecordingFixture, StatesAreLoggedWithTheirValuesAndKeptByTheDevice) {
    log.Clear();
    device->SetRenderState(D3DRENDERSTATE_FOGENABLE, D3DSTATE_TRUE);
    device->SetLightState(D3DLIGHTSTATE_FOGSTART, D3DStateFromFloat(700.0f));
    ASSERT_EQ(log.Size(), 2u);
    EXPECT_EQ(log[0].Kind, callSetRenderState);
    EXPECT_EQ(log[0].Type, D3DRENDERSTATE_FOGENABLE);
    EXPECT_EQ(log[0].Value, 1u);
    EXPECT_EQ(log[1].Kind, callSetLightState);
    EXPECT_FLOAT_EQ(D3DStateToFloat(log[1].Value), 700.0f);
    EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_FOGENABLE), 1u);
    EXPECT_FLOAT_EQ(D3DStateToFloat(device->GetLightState(D3DLIGHTSTATE_FOGSTART)), 700.0f);
}

TEST_F(TRecordingFixture, ClearOfTheViewportKeepsRectangleCountAndFlags) {
    log.Clear();
    const D3DRECT rect = {0, 0, 640, 480};
    viewport->Clear(1, &rect, D3DCLEAR_ZBUFFER);
    ASSERT_EQ(log.Size(), 1u);
    EXPECT_EQ(log[0].Count, 1u);
    EXPECT_EQ(log[0].Flags, D3DCLEAR_ZBUFFER);
    EXPECT_EQ(log[0].Rect().x2, 640);
    EXPECT_EQ(log[0].Rect().y2, 480);
}

// ---- no allocation once warmed up ----

TEST(RecordingLog, ClearKeepsTheStorageSoTheNextFrameReusesIt) {
    TRecordingLog log(16);
    TRecordingDirect3D d3d(log);
    auto device = d3d.CreateDevice(devHardware);
    for (int i = 0; i < 10; ++i) {
        device->BeginScene();
    }
    const TRecordedCall* storage = log.GetCalls().data();
    const size_t capacity = log.Capacity();
    log.Clear();
    EXPECT_EQ(log.Size(), 0u);
    for (int i = 0; i < 16; ++i) {
        device->EndScene();
    }
    EXPECT_EQ(log.GetCalls().data(), storage);
    EXPECT_EQ(log.Capacity(), capacity);
}

TEST(RecordingLog, DefaultCapacityHoldsAFullFrameOfTheScene) {
    // 66 models draw about 660 calls a frame; the default must hold them without growing.
    TRecordingLog log;
    EXPECT_GE(log.Capacity(), 1000u);
}

// ---- lights belong to a viewport ----

TEST_F(TRecordingFixture, AddedLightsAreListedByTheirViewport) {
    auto a = d3d.CreateLight();
    auto b = d3d.CreateLight();
    viewport->AddLight(*a);
    viewport->AddLight(*b);
    viewport->AddLight(*a);
    ASSERT_EQ(viewport->GetLights().size(), 2u);
    EXPECT_EQ(viewport->GetLights()[0], a.get());
    EXPECT_EQ(a->GetViewport(), viewport.get());
    EXPECT_EQ(log.CountOf(callAddLight), 3u);
}

TEST_F(TRecordingFixture, ReleasingALightRemovesItFromItsViewport) {
    auto a = d3d.CreateLight();
    auto b = d3d.CreateLight();
    viewport->AddLight(*a);
    viewport->AddLight(*b);
    const TDeviceLight* kept = b.get();
    a.reset();
    ASSERT_EQ(viewport->GetLights().size(), 1u);
    EXPECT_EQ(viewport->GetLights()[0], kept);
    EXPECT_EQ(log[log.Size() - 1].Kind, callRelease);
}

TEST_F(TRecordingFixture, ReleasingTheViewportFirstLeavesItsLightsUnattached) {
    auto light = d3d.CreateLight();
    viewport->AddLight(*light);
    device->AddViewport(*viewport);
    device->SetCurrentViewport(*viewport);
    viewport.reset();
    EXPECT_EQ(light->GetViewport(), nullptr);
    EXPECT_EQ(device->GetCurrentViewport(), nullptr);
    light->SetLight(D3DLIGHT2{}); // still usable, and its release must not touch the viewport
    light.reset();
}

TEST_F(TRecordingFixture, SetLightKeepsTheDescriptionForTheRenderer) {
    auto light = d3d.CreateLight();
    D3DLIGHT2 desc{};
    desc.dwSize = 80;
    desc.dltType = D3DLIGHT_POINT;
    desc.dvRange = 400.0f;
    light->SetLight(desc);
    EXPECT_EQ(light->GetLight().dltType, D3DLIGHT_POINT);
    EXPECT_FLOAT_EQ(light->GetLight().dvRange, 400.0f);
    EXPECT_FLOAT_EQ(log[log.Size() - 1].Light().dvRange, 400.0f);
}

// ---- materials are selected by handle ----

TEST_F(TRecordingFixture, MaterialHandleSelectsTheMaterialWhoseCurrentContentsColourDrawing) {
    const D3DMATERIALHANDLE handle = material->GetHandle(*device);
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(material->GetHandle(*device), handle);
    EXPECT_EQ(device->GetCurrentMaterial(), nullptr);

    device->SetLightState(D3DLIGHTSTATE_MATERIAL, handle);
    material->SetMaterial(Coloured(0, 1, 0));
    ASSERT_EQ(device->GetCurrentMaterial(), material.get());
    EXPECT_FLOAT_EQ(device->GetCurrentMaterial()->GetMaterial().diffuse.g, 1.0f);
    material->SetMaterial(Coloured(0, 0, 1));
    EXPECT_FLOAT_EQ(device->GetCurrentMaterial()->GetMaterial().diffuse.b, 1.0f);
}

TEST_F(TRecordingFixture, HandlesOfDifferentMaterialsDifferAndAReleasedOneSelectsNothing) {
    auto other = d3d.CreateMaterial();
    const D3DMATERIALHANDLE first = material->GetHandle(*device);
    const D3DMATERIALHANDLE second = other->GetHandle(*device);
    EXPECT_NE(first, second);
    device->SetLightState(D3DLIGHTSTATE_MATERIAL, second);
    other.reset();
    EXPECT_EQ(device->GetCurrentMaterial(), nullptr);
    device->SetLightState(D3DLIGHTSTATE_MATERIAL, first);
    EXPECT_EQ(device->GetCurrentMaterial(), material.get());
}

TEST_F(TRecordingFixture, ReleasingTheDeviceBeforeItsMaterialIsSafe) {
    material->GetHandle(*device);
    device.reset();
    material.reset();
    SUCCEED();
}

// ---- viewports ----

TEST_F(TRecordingFixture, OnlyAnAddedViewportCanBecomeCurrent) {
    device->SetCurrentViewport(*viewport);
    EXPECT_EQ(device->GetCurrentViewport(), nullptr);
    device->AddViewport(*viewport);
    device->SetCurrentViewport(*viewport);
    EXPECT_EQ(device->GetCurrentViewport(), viewport.get());
    EXPECT_EQ(viewport->GetDevice(), device.get());
}

TEST_F(TRecordingFixture, SetViewport2IsKeptAndLogged) {
    D3DVIEWPORT2 vp{};
    vp.dwSize = 44;
    vp.dwWidth = 640;
    vp.dwHeight = 480;
    vp.dvClipY = 0.75f;
    viewport->SetViewport2(vp);
    EXPECT_EQ(viewport->GetViewport2().dwWidth, 640u);
    EXPECT_FLOAT_EQ(log[log.Size() - 1].Viewport().dvClipY, 0.75f);
}

// ---- defaults ----

TEST_F(TRecordingFixture, UnsetStatesHoldTheirDirectX5Defaults) {
    EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CCW);
    EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_SHADEMODE), D3DSHADE_GOURAUD);
    EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_SPECULARENABLE), 1u);
    EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_ZENABLE), 0u);
    EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_FOGENABLE), 0u);
    EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_ZFUNC), D3DCMP_LESSEQUAL);
    EXPECT_FLOAT_EQ(D3DStateToFloat(device->GetLightState(D3DLIGHTSTATE_FOGEND)), 100.0f);
    EXPECT_FLOAT_EQ(device->GetTransform(D3DTRANSFORMSTATE_VIEW)._22, 1.0f);
    EXPECT_FLOAT_EQ(device->GetTransform(D3DTRANSFORMSTATE_VIEW)._21, 0.0f);
}

TEST_F(TRecordingFixture, OutOfRangeStatesAreIgnoredNotWrittenPastTheTables) {
    device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(5000), 7);
    device->SetLightState(static_cast<D3DLIGHTSTATETYPE>(5000), 7);
    device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(9), Translation(1, 1, 1));
    EXPECT_EQ(device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(5000)), 0u);
    EXPECT_EQ(device->GetLightState(static_cast<D3DLIGHTSTATETYPE>(5000)), 0u);
    EXPECT_FLOAT_EQ(device->GetTransform(D3DTRANSFORMSTATE_WORLD)._41, 0.0f);
}

// ---- factory ----

TEST(RecordingDirect3D, RefusedDeviceKindsGiveNullAndAreStillLogged) {
    TRecordingLog log;
    TRecordingDirect3D d3d(log);
    d3d.RefuseDevice[devHardware] = true;
    EXPECT_EQ(d3d.CreateDevice(devHardware), nullptr);
    auto mmx = d3d.CreateDevice(devMMX);
    EXPECT_NE(mmx, nullptr);
    ASSERT_EQ(log.Size(), 2u);
    EXPECT_EQ(log[0].Type, devHardware);
    EXPECT_EQ(log[0].Target, nullptr);
    EXPECT_EQ(log[1].Type, devMMX);
    EXPECT_EQ(log[1].Target, mmx.get());
}

TEST(RecordingDirect3D, RefusedLightsGiveNull) {
    TRecordingLog log;
    TRecordingDirect3D d3d(log);
    d3d.RefuseLights = true;
    EXPECT_EQ(d3d.CreateLight(), nullptr);
    EXPECT_EQ(log.CountOf(callCreateLight), 1u);
}

TEST(RecordingDirect3D, ReleasesAreLoggedInDestructionOrder) {
    TRecordingLog log;
    TRecordingDirect3D d3d(log);
    auto material = d3d.CreateMaterial();
    auto viewport = d3d.CreateViewport();
    const void* first = material.get();
    const void* second = viewport.get();
    log.Clear();
    material.reset();
    viewport.reset();
    ASSERT_EQ(log.Size(), 2u);
    EXPECT_EQ(log[0].Object, first);
    EXPECT_EQ(log[1].Object, second);
}
