#include "scene/Light.h"

#include "SceneTestSupport.h"
#include "platform/Clock.h"

namespace {

struct TLightFixture : TSceneFixture {
    TManualClock clock{5000};
    TScopedClock scope{clock};
    std::unique_ptr<TDeviceViewport> viewport = d3d.CreateViewport();
    TLight light{&d3d, viewport.get()};

    const D3DLIGHT2& LastSent() const { return CallsOf(callSetLight).back()->Light(); }
};

constexpr D3DCOLORVALUE kBlack = {0, 0, 0, 0};

} // namespace

// A point light falls off as the square of the remaining range; its colour and animated
// position reach the device at each Update, as they stand then.
TEST_F(TLightFixture, PointLightSendsItsFallOffAndFollowsItsPosition) {
    light.SetColor(9, 9, 9, 0); // lost: the set-up sets the colour
    light.SetPointLight({0.1f, 0.2f, 0.3f, 0}, {0, 0, 100}, 400.0f);
    light.Position.X.AddSchedule(400.0, 1000, false);
    clock.Advance(250);
    light.Update();
    const D3DLIGHT2& sent = LastSent();
    EXPECT_EQ(sent.dltType, D3DLIGHT_POINT);
    EXPECT_EQ(sent.dwFlags, D3DLIGHT_ACTIVE);
    EXPECT_EQ(sent.dcvColor.b, 0.3f);
    EXPECT_EQ(sent.dvRange, 400.0f);
    EXPECT_EQ(sent.dvAttenuation0 + sent.dvAttenuation1, 0.0f);
    EXPECT_EQ(sent.dvAttenuation2, 1.0f);
    EXPECT_EQ(sent.dvPosition.x, 100.0f);
    EXPECT_EQ(sent.dvPosition.z, 100.0f);
    clock.Advance(250);
    light.SetColor(2, 2, 2, 0);
    EXPECT_EQ(light.D3DLight->GetLight().dvPosition.x, 100.0f); // nothing sent before Update
    light.Update();
    EXPECT_EQ(LastSent().dvPosition.x, 200.0f);
    EXPECT_EQ(LastSent().dcvColor.r, 2.0f);
    // A later set-up replaces all the earlier one left.
    light.SetDirectionalLight(kBlack, {1000, -1000, -1000});
    light.Update();
    EXPECT_EQ(LastSent().dltType, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(LastSent().dvAttenuation2 + LastSent().dvRange, 0.0f);
    EXPECT_EQ(LastSent().dvDirection.y, -1000.0f);
}

TEST_F(TLightFixture, TheDeviceLightLivesInTheViewportAsLongAsTheLight) {
    ASSERT_EQ(viewport->GetLights().size(), 1u);
    auto second = std::make_unique<TLight>(&d3d, viewport.get());
    EXPECT_EQ(viewport->GetLights().size(), 2u);
    second.reset();
    EXPECT_EQ(viewport->GetLights().size(), 1u);
    d3d.RefuseLights = true; // a light the device refused still keeps its description
    TLight refused(&d3d, viewport.get());
    refused.SetPointLight(kBlack, {0, 0, 100}, 400.0f);
    refused.Update();
    EXPECT_EQ(refused.D3DLight, nullptr);
    EXPECT_EQ(refused.Desc.dvPosition.z, 100.0f);
}
