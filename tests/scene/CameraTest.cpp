#include "scene/Camera.h"

#include "SceneTestSupport.h"
#include "platform/Clock.h"

#include <cmath>

namespace {

struct TCameraFixture : TSceneFixture {
    TManualClock clock{0};
    TScopedClock scope{clock};
};

const TRecordedCall* LastTransform(const TRecordingLog& log, D3DTRANSFORMSTATETYPE state) {
    const TRecordedCall* found = nullptr;
    for (const TRecordedCall& call : log.GetCalls()) {
        if (call.Kind == callSetTransform && call.Type == state) {
            found = &call;
        }
    }
    return found;
}

} // namespace

// ---- the default view ----

TEST_F(TCameraFixture, ConstructionSendsTheViewThenTheProjection) {
    TCamera camera(device.get());
    ASSERT_EQ(log.Size(), 2u);
    EXPECT_EQ(log[0].Kind, callSetTransform);
    EXPECT_EQ(log[0].Type, D3DTRANSFORMSTATE_VIEW);
    EXPECT_EQ(log[1].Kind, callSetTransform);
    EXPECT_EQ(log[1].Type, D3DTRANSFORMSTATE_PROJECTION);
    EXPECT_TRUE(SameMatrix(log[0].Matrix(), camera.View));
    EXPECT_TRUE(SameMatrix(log[1].Matrix(), camera.Projection));
}

TEST_F(TCameraFixture, DefaultViewLooksAtTheBoardCentreFromFortyFiveDegreesUp) {
    TCamera camera(device.get());
    const TMatrix& view = log[0].Matrix();
    const float h = std::sqrt(0.5f);
    // Screen right is world +X, screen up leans towards -Y and +Z.
    EXPECT_NEAR(view._11, 1.0f, 1e-6f);
    EXPECT_NEAR(view._22, -h, 1e-6f);
    EXPECT_NEAR(view._32, h, 1e-6f);
    EXPECT_NEAR(view._23, -h, 1e-6f);
    EXPECT_NEAR(view._33, -h, 1e-6f);
    EXPECT_NEAR(view._43, 2828.4271f, 1e-2f);
    EXPECT_NEAR(view._41, 0.0f, 1e-3f);
    EXPECT_NEAR(view._42, 0.0f, 1e-3f);
    ExpectNear(Transform({0, 0, 0}, view), {0, 0, 2828.4271f}, 1e-2f);
    EXPECT_EQ(camera.Eye.Y.GetValue(), 2000.0);
    EXPECT_EQ(camera.LookAt.X.GetValue(), 0.0);
    EXPECT_EQ(camera.Up.z, 1.0f);
    EXPECT_EQ(camera.Roll, 0.0f);
}

TEST_F(TCameraFixture, DefaultProjection) {
    TCamera camera(device.get());
    EXPECT_EQ(camera.Near, 400.0f);
    EXPECT_EQ(camera.Far, 4000.0f);
    EXPECT_FLOAT_EQ(camera.Fov, 0.58291358f);
    const TMatrix& p = log[1].Matrix();
    const double half = std::atan(0.3);
    EXPECT_FLOAT_EQ(p._11, static_cast<float>(std::cos(half)));
    EXPECT_FLOAT_EQ(p._22, static_cast<float>(std::cos(half)));
    EXPECT_FLOAT_EQ(p._34, static_cast<float>(std::sin(half)));
    EXPECT_FLOAT_EQ(p._33, static_cast<float>(std::sin(half) / 0.9));
    EXPECT_FLOAT_EQ(p._43, static_cast<float>(-std::sin(half) / 0.9 * 400.0));
    EXPECT_EQ(p._44, 0.0f);
}

TEST_F(TCameraFixture, SetViewAndSetProjectionSendNothing) {
    TCamera camera(device.get());
    log.Clear();
    camera.SetView({0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0.0f);
    camera.SetProjection(1.0f, 2.0f, 1.0f);
    EXPECT_EQ(log.Size(), 0u);
    TMatrix expected = MatrixIdentity();
    expected._43 = 10.0f;
    EXPECT_TRUE(SameMatrix(camera.View, expected));
    EXPECT_EQ(camera.Eye.Z.GetValue(), -10.0);
}

// ---- flights ----

TEST_F(TCameraFixture, FlightMovesTheViewOnlyWhenUpdateRuns) {
    TCamera camera(device.get());
    camera.Eye.X.AddSchedule(1000.0, 1000, false);
    clock.Advance(500);
    log.Clear();
    EXPECT_EQ(log.Size(), 0u);
    camera.Update();
    ASSERT_EQ(log.Size(), 2u);
    const TMatrix expected = MatrixView({500, 2000, 2000}, {0, 0, 0}, {0, 0, 1}, 0.0f);
    EXPECT_TRUE(SameMatrix(log[0].Matrix(), expected));
    EXPECT_EQ(log[1].Type, D3DTRANSFORMSTATE_PROJECTION);
}

TEST_F(TCameraFixture, TwoUpdatesAtTheSameTickGiveTheSameView) {
    TCamera camera(device.get());
    camera.Eye.Z.AddSchedule(500.0, 2000, false);
    clock.Advance(700);
    camera.Update();
    const TMatrix first = LastTransform(log, D3DTRANSFORMSTATE_VIEW)->Matrix();
    camera.Update();
    EXPECT_TRUE(SameMatrix(LastTransform(log, D3DTRANSFORMSTATE_VIEW)->Matrix(), first));
}

TEST_F(TCameraFixture, SetValueDuringAFlightStopsItAtOnce) {
    TCamera camera(device.get());
    camera.LookAt.Z.AddSchedule(300.0, 1000, false);
    clock.Advance(500);
    camera.LookAt.Z.SetValue(-50.0);
    clock.Advance(500);
    camera.Update();
    const TMatrix expected = MatrixView({0, 2000, 2000}, {0, 0, -50}, {0, 0, 1}, 0.0f);
    EXPECT_TRUE(SameMatrix(LastTransform(log, D3DTRANSFORMSTATE_VIEW)->Matrix(), expected));
    EXPECT_TRUE(camera.LookAt.Z.Schedule.empty());
}

TEST_F(TCameraFixture, FlightHasEndedWhenTheScheduleIsEmpty) {
    TCamera camera(device.get());
    camera.Eye.X.AddSchedule(100.0, 300, false);
    clock.Advance(299);
    camera.Update();
    EXPECT_FALSE(camera.Eye.X.Schedule.empty());
    clock.Advance(1);
    camera.Update();
    EXPECT_TRUE(camera.Eye.X.Schedule.empty());
}

TEST_F(TCameraFixture, ValuesAreNarrowedToFloatBeforeTheViewIsBuilt) {
    TCamera camera(device.get());
    camera.Eye.X.SetValue(0.1);
    camera.Update();
    const TMatrix expected = MatrixView({0.1f, 2000, 2000}, {0, 0, 0}, {0, 0, 1}, 0.0f);
    EXPECT_TRUE(SameMatrix(LastTransform(log, D3DTRANSFORMSTATE_VIEW)->Matrix(), expected));
}

TEST_F(TCameraFixture, RollTurnsTheWorldAboutZBeforeTheView) {
    TCamera camera(device.get());
    camera.Roll = 0.5f;
    camera.Update();
    const TMatrix plain = MatrixView({0, 2000, 2000}, {0, 0, 0}, {0, 0, 1}, 0.0f);
    EXPECT_TRUE(SameMatrix(LastTransform(log, D3DTRANSFORMSTATE_VIEW)->Matrix(),
                           MatrixMultiply(MatrixRotateZ(-0.5f), plain)));
}

TEST_F(TCameraFixture, UpdateLeavesTheWorldTransformAlone) {
    TCamera camera(device.get());
    camera.Update();
    EXPECT_EQ(LastTransform(log, D3DTRANSFORMSTATE_WORLD), nullptr);
}

// ---- the point of the board under a screen point ----

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
