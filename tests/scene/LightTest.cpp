#include "scene/Light.h"

#include "SceneTestSupport.h"
#include "platform/Clock.h"

namespace {

struct TLightFixture : TSceneFixture {
    TManualClock clock{5000};
    TScopedClock scope{clock};
    std::unique_ptr<TDeviceViewport> viewport = d3d.CreateViewport();

    const D3DLIGHT2& LastSent() const { return CallsOf(callSetLight).back()->Light(); }
};

constexpr D3DCOLORVALUE kBlack = {0, 0, 0, 0};

} // namespace

// ---- construction and release ----

TEST_F(TLightFixture, ConstructionCreatesADeviceLightAndAddsItToTheViewport) {
    log.Clear();
    TLight light(&d3d, viewport.get());
    const std::vector<TCallKind> expected = {callCreateLight, callAddLight};
    EXPECT_EQ(log.Kinds(), expected);
    ASSERT_NE(light.D3DLight, nullptr);
    EXPECT_EQ(log[1].Object, viewport.get());
    EXPECT_EQ(log[1].Target, light.D3DLight.get());
    EXPECT_EQ(light.Desc.dwSize, 80u);
    EXPECT_EQ(light.Desc.dltType, 0u);
    EXPECT_EQ(light.Position.X.GetValue(), 0.0);
    EXPECT_EQ(light.Direction.Z.GetValue(), 0.0);
}

TEST_F(TLightFixture, DestroyingTheLightReleasesItsDeviceLightAndLeavesTheViewportClean) {
    auto light = std::make_unique<TLight>(&d3d, viewport.get());
    const void* deviceLight = light->D3DLight.get();
    ASSERT_EQ(viewport->GetLights().size(), 1u);
    log.Clear();
    light.reset();
    ASSERT_EQ(log.Size(), 1u);
    EXPECT_EQ(log[0].Kind, callRelease);
    EXPECT_EQ(log[0].Object, deviceLight);
    EXPECT_TRUE(viewport->GetLights().empty());
}

TEST_F(TLightFixture, LightTheDeviceRefusedKeepsItsDescriptionAndSendsNothing) {
    d3d.RefuseLights = true;
    TLight light(&d3d, viewport.get());
    EXPECT_EQ(light.D3DLight, nullptr);
    light.SetPointLight(kBlack, {0, 0, 100}, 400.0f);
    light.Update();
    EXPECT_EQ(log.CountOf(callSetLight), 0u);
    EXPECT_EQ(log.CountOf(callAddLight), 0u);
    EXPECT_EQ(light.Desc.dvPosition.z, 100.0f);
}

// ---- directional set-up ----

TEST_F(TLightFixture, DirectionalSetUpSendsAnActiveLightWithItsGeometryStillZero) {
    TLight light(&d3d, viewport.get());
    log.Clear();
    light.SetDirectionalLight({0.5f, 0.25f, 0.125f, 1.0f}, {1000, -1000, -1000});
    ASSERT_EQ(log.CountOf(callSetLight), 1u);
    const D3DLIGHT2& sent = LastSent();
    EXPECT_EQ(sent.dwSize, 80u);
    EXPECT_EQ(sent.dltType, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(sent.dcvColor.r, 0.5f);
    EXPECT_EQ(sent.dcvColor.a, 1.0f);
    EXPECT_EQ(sent.dwFlags, D3DLIGHT_ACTIVE);
    EXPECT_EQ(sent.dvDirection.x, 0.0f);
    EXPECT_EQ(sent.dvRange, 0.0f);
    EXPECT_EQ(light.Direction.X.GetValue(), 1000.0);
    EXPECT_EQ(light.Direction.Y.GetValue(), -1000.0);
}

TEST_F(TLightFixture, SceneDirectionalLightAfterColourAndUpdate) {
    TLight light(&d3d, viewport.get());
    light.SetDirectionalLight(kBlack, {1000, -1000, -1000});
    light.SetColor(0.6f, 0.6f, 0.6f, 0.0f);
    light.Update();
    const D3DLIGHT2& sent = LastSent();
    EXPECT_EQ(sent.dltType, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(sent.dcvColor.g, 0.6f);
    EXPECT_EQ(sent.dvDirection.x, 1000.0f);
    EXPECT_EQ(sent.dvDirection.y, -1000.0f);
    EXPECT_EQ(sent.dvDirection.z, -1000.0f);
    EXPECT_EQ(sent.dvPosition.x, 0.0f);
    EXPECT_EQ(sent.dvAttenuation2, 0.0f);
    EXPECT_EQ(sent.dwFlags, D3DLIGHT_ACTIVE);
}

// ---- point set-up ----

TEST_F(TLightFixture, ScenePointLightAfterColourAndUpdate) {
    TLight light(&d3d, viewport.get());
    light.SetPointLight(kBlack, {0, 0, 100}, 400.0f);
    const D3DLIGHT2 first = LastSent();
    EXPECT_EQ(first.dvPosition.z, 0.0f); // filled by the next Update
    light.SetColor(2.0f, 2.0f, 2.0f, 0.0f);
    light.Update();
    const D3DLIGHT2& sent = LastSent();
    EXPECT_EQ(sent.dwSize, 80u);
    EXPECT_EQ(sent.dltType, D3DLIGHT_POINT);
    EXPECT_EQ(sent.dcvColor.r, 2.0f);
    EXPECT_EQ(sent.dcvColor.b, 2.0f);
    EXPECT_EQ(sent.dcvColor.a, 0.0f);
    EXPECT_EQ(sent.dvRange, 400.0f);
    EXPECT_EQ(sent.dvAttenuation0, 0.0f);
    EXPECT_EQ(sent.dvAttenuation1, 0.0f);
    EXPECT_EQ(sent.dvAttenuation2, 1.0f);
    EXPECT_EQ(sent.dvPosition.x, 0.0f);
    EXPECT_EQ(sent.dvPosition.z, 100.0f);
    EXPECT_EQ(sent.dvDirection.x, 0.0f);
    EXPECT_EQ(sent.dvDirection.z, 0.0f);
    EXPECT_EQ(sent.dvFalloff, 0.0f);
    EXPECT_EQ(sent.dvTheta, 0.0f);
    EXPECT_EQ(sent.dwFlags, D3DLIGHT_ACTIVE);
}

TEST_F(TLightFixture, ColourSetBeforeTheSetUpIsLost) {
    TLight light(&d3d, viewport.get());
    light.SetColor(2.0f, 2.0f, 2.0f, 0.0f);
    light.SetPointLight({0.1f, 0.2f, 0.3f, 0.0f}, {0, 0, 100}, 400.0f);
    light.Update();
    EXPECT_EQ(LastSent().dcvColor.r, 0.1f);
    EXPECT_EQ(LastSent().dcvColor.b, 0.3f);
}

TEST_F(TLightFixture, SetUpReplacesEverythingAnEarlierSetUpLeft) {
    TLight light(&d3d, viewport.get());
    light.SetPointLight(kBlack, {0, 0, 100}, 400.0f);
    light.SetDirectionalLight(kBlack, {0, 0, -1});
    EXPECT_EQ(LastSent().dvRange, 0.0f);
    EXPECT_EQ(LastSent().dvAttenuation2, 0.0f);
}

// ---- moving ----

TEST_F(TLightFixture, ColourAndPositionChangesWaitForTheNextUpdate) {
    TLight light(&d3d, viewport.get());
    light.SetPointLight(kBlack, {0, 0, 100}, 400.0f);
    light.Update();
    log.Clear();
    light.SetPosition({300, -200, 150});
    light.SetColor(1, 1, 1, 0);
    EXPECT_EQ(log.Size(), 0u);
    EXPECT_EQ(light.D3DLight->GetLight().dvPosition.z, 100.0f);
    light.Update();
    EXPECT_EQ(LastSent().dvPosition.x, 300.0f);
    EXPECT_EQ(LastSent().dvPosition.y, -200.0f);
    EXPECT_EQ(LastSent().dvPosition.z, 150.0f);
    EXPECT_EQ(LastSent().dcvColor.r, 1.0f);
}

TEST_F(TLightFixture, AnimatedPositionIsSentAsItStandsAtEachUpdate) {
    TLight light(&d3d, viewport.get());
    light.SetPointLight(kBlack, {0, 0, 100}, 400.0f);
    light.Position.X.AddSchedule(400.0, 1000, false);
    clock.Advance(250);
    light.Update();
    EXPECT_EQ(LastSent().dvPosition.x, 100.0f);
    clock.Advance(250);
    // Without an update the device keeps what it was last sent.
    EXPECT_EQ(light.D3DLight->GetLight().dvPosition.x, 100.0f);
    light.Update();
    EXPECT_EQ(LastSent().dvPosition.x, 200.0f);
}

TEST_F(TLightFixture, UpdateNarrowsTheAnimatedValuesToFloat) {
    TLight light(&d3d, viewport.get());
    light.SetDirectionalLight(kBlack, {0, 0, 0});
    light.Direction.Y.SetValue(0.1);
    light.Update();
    EXPECT_EQ(LastSent().dvDirection.y, 0.1f);
}
