#include "scene/Camera.h"

#include "SceneTestSupport.h"
#include "platform/Clock.h"

#include <cmath>

namespace {

struct TCameraFixture : TSceneFixture {
    TManualClock clock{0};
    TScopedClock scope{clock};
    TCamera camera{device.get()};

    // The view and projection last sent to the device.
    TMatrix Sent(D3DTRANSFORMSTATETYPE state) const {
        const TRecordedCall* found = nullptr;
        for (const TRecordedCall& call : log.GetCalls()) {
            if (call.Kind == callSetTransform && call.Type == state) {
                found = &call;
            }
        }
        EXPECT_NE(found, nullptr);
        return found ? found->Matrix() : MatrixIdentity();
    }
    TVector Seen(const TVector& world) const {
        return Transform(Transform(world, Sent(D3DTRANSFORMSTATE_VIEW)),
                         Sent(D3DTRANSFORMSTATE_PROJECTION));
    }
};

} // namespace

// The default camera looks at the board's centre from 45 degrees up, 2828 away; a board corner
// 0.3 of that distance beside the line of sight would sit on the edge of the picture.
TEST_F(TCameraFixture, DefaultViewCentresTheBoardWithinTheFieldOfView) {
    const TVector centre = Seen({0, 0, 0});
    EXPECT_NEAR(centre.x, 0.0f, 1e-4f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-4f);
    EXPECT_NEAR(Transform({0, 0, 0}, Sent(D3DTRANSFORMSTATE_VIEW)).z, 2828.427f, 0.1f);
    EXPECT_NEAR(Seen({0.3f * 2828.427f, 0, 0}).x, 1.0f, 1e-3f);
    EXPECT_LT(Seen({0, 500, 0}).y, 0.0f); // the near edge of the board below, the far above
    EXPECT_GT(Seen({0, -500, 0}).y, 0.0f);
    EXPECT_GT(Seen({0, 0, 0}).z, 0.0f);
    EXPECT_LT(Seen({0, 0, 0}).z, 1.0f);
}

// Flights move the view only when Update runs, as the values stand then; SetValue stops one.
TEST_F(TCameraFixture, UpdateSendsTheViewAsTheAnimatedValuesStand) {
    camera.Eye.X.AddSchedule(1000.0, 1000, false);
    camera.LookAt.Z.AddSchedule(300.0, 1000, false);
    clock.Advance(500);
    log.Clear();
    camera.LookAt.Z.SetValue(-50.0);
    EXPECT_EQ(log.Size(), 0u);
    camera.Update();
    const TMatrix expected = MatrixView({500, 2000, 2000}, {0, 0, -50}, {0, 0, 1}, 0.0f);
    ExpectNear(Transform({500, 2000, 2000}, Sent(D3DTRANSFORMSTATE_VIEW)), {0, 0, 0}, 1e-2f);
    ExpectNear(Transform({70, 80, 90}, Sent(D3DTRANSFORMSTATE_VIEW)),
               Transform({70, 80, 90}, expected), 1e-3f);
    clock.Advance(500);
    camera.Update();
    EXPECT_TRUE(camera.Eye.X.Schedule.empty());
    camera.Roll = 0.5f;
    camera.Update();
    ExpectNear(Transform({100, 0, 0}, Sent(D3DTRANSFORMSTATE_VIEW)),
               Transform(Transform({100, 0, 0}, MatrixRotateZ(-0.5f)),
                         MatrixView({1000, 2000, 2000}, {0, 0, -50}, {0, 0, 1}, 0.0f)),
               1e-2f);
    EXPECT_EQ(log.CountOf(callSetTransform), 6u); // view and projection, never the world
}

// Every board point seen from a camera comes back from its clip position, from the play view,
// the swoop, a low free view and from under the board; where the plane does not show, none.
TEST(CameraPick, ClipPointOnGroundInvertsTheForwardProjection) {
    struct TView {
        TVector Eye, LookAt;
    };
    const TView views[] = {
        {{765.4f, 1847.8f, 2000}, {0, 0, 0}},  {{0, 1000, 500}, {-70, 210, 10}},
        {{-1414.2f, 1414.2f, 300}, {0, 0, 0}}, {{765.4f, 1847.8f, -600}, {0, 0, 0}},
        {{1999, 10, 3000}, {0, 0, 0}},
    };
    const TMatrix projection =
        MatrixProjection(TCamera::kDefaultNear, TCamera::kDefaultFar, TCamera::DefaultFov);
    for (const TView& v : views) {
        const TMatrix view = MatrixView(v.Eye, v.LookAt, {0, 0, 1}, 0.0f);
        const TMatrix clip = MatrixMultiply(view, projection);
        for (float x = -550; x <= 550; x += 110) {
            for (float y = -550; y <= 550; y += 110) {
                SCOPED_TRACE(::testing::Message()
                             << "eye z " << v.Eye.z << " at " << x << "," << y);
                const TVector seen = Transform({x, y, 0}, clip);
                if (seen.z < 0 || seen.z > 1) {
                    continue; // outside the depth range: not drawn, so not picked
                }
                TVector ground{};
                ASSERT_TRUE(ClipPointOnGround(view, projection, seen.x, seen.y, ground));
                EXPECT_NEAR(ground.x, x, 0.5f);
                EXPECT_NEAR(ground.y, y, 0.5f);
            }
        }
    }
    // Looking level across the board from its own height: the upper half is sky.
    const TMatrix level = MatrixView({0, 2000, 100}, {0, 0, 100}, {0, 0, 1}, 0.0f);
    TVector ground{};
    EXPECT_FALSE(ClipPointOnGround(level, projection, 0.0f, 0.5f, ground));
    EXPECT_TRUE(ClipPointOnGround(level, projection, 0.0f, -0.5f, ground));
    // From far above the plane lies beyond the far plane.
    const TMatrix high = MatrixView({0, 10, 5000}, {0, 0, 0}, {0, 0, 1}, 0.0f);
    EXPECT_FALSE(ClipPointOnGround(high, projection, 0.0f, 0.0f, ground));
}
