#include "scene/Light.h"

#include "SceneTestSupport.h"
#include "platform/Clock.h"

#include <tuple>

// A point light falls off with the square of the range left, and is sent at each Update.
TEST_F(TSceneFixture, LightsSendTheirFallOffAndFollowTheirPosition) {
    TManualClock clock{5000};
    TScopedClock scope{clock};
    const std::unique_ptr<TDeviceViewport> viewport = d3d.CreateViewport();
    TLight light(&d3d, viewport.get());
    const auto sent = [&] { return CallsOf(callSetLight).back()->Light(); };
    light.SetColor(9, 9, 9, 0); // lost: the set-up sets the colour
    light.SetPointLight({0.1f, 0.2f, 0.3f, 0}, {0, 0, 100}, 400.0f);
    light.Position.X.AddSchedule(400.0, 1000, false);
    clock.Advance(250);
    light.Update();
    const D3DLIGHT2 point = sent();
    EXPECT_EQ(std::tie(point.dltType, point.dwFlags), std::tuple(D3DLIGHT_POINT, D3DLIGHT_ACTIVE));
    EXPECT_EQ(std::tie(point.dcvColor.b, point.dvRange, point.dvPosition.x, point.dvPosition.z),
              std::tuple(0.3f, 400.0f, 100.0f, 100.0f));
    EXPECT_EQ(std::tie(point.dvAttenuation0, point.dvAttenuation1, point.dvAttenuation2),
              std::tuple(0.0f, 0.0f, 1.0f));
    clock.Advance(250);
    light.SetColor(2, 2, 2, 0);
    EXPECT_EQ(sent().dvPosition.x, 100.0f); // nothing sent before Update
    light.Update();
    EXPECT_EQ(std::tuple(sent().dvPosition.x, sent().dcvColor.r), std::tuple(200.0f, 2.0f));
    d3d.RefuseLights = true;
    TLight refused(&d3d, viewport.get());
    refused.SetPointLight({0, 0, 0, 0}, {0, 0, 100}, 400.0f);
    refused.Update();
    EXPECT_EQ(refused.D3DLight, nullptr);
    EXPECT_EQ(refused.Desc.dvPosition.z, 100.0f);
}
