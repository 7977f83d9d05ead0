#include "scene/Solid.h"

#include "SceneTestSupport.h"
#include "platform/Clock.h"

namespace {

struct TSolidFixture : TSceneFixture {
    TManualClock clock{0};
    TScopedClock scope{clock};
    TSolid solid{device.get(), material.get()};

    void Place(double px, double py, double pz, double rx, double ry, double rz) {
        solid.Position.X.SetValue(px);
        solid.Position.Y.SetValue(py);
        solid.Position.Z.SetValue(pz);
        solid.Rotation.X.SetValue(rx);
        solid.Rotation.Y.SetValue(ry);
        solid.Rotation.Z.SetValue(rz);
    }

    TMatrix RenderedWorld() {
        log.Clear();
        EXPECT_TRUE(solid.Render());
        EXPECT_EQ(log.Size(), 1u);
        EXPECT_EQ(log[0].Kind, callSetTransform);
        EXPECT_EQ(log[0].Type, D3DTRANSFORMSTATE_WORLD);
        return log[0].Matrix();
    }
};

} // namespace

TEST_F(TSolidFixture, NewModelIsHiddenAtTheOriginAndDrawsNothing) {
    EXPECT_FALSE(solid.Visible);
    EXPECT_EQ(solid.Position.X.GetValue(), 0.0);
    EXPECT_EQ(solid.Rotation.Z.GetValue(), 0.0);
    EXPECT_FALSE(solid.Render());
    EXPECT_EQ(log.Size(), 0u);
}

TEST_F(TSolidFixture, HiddenModelDoesNotAdvanceItsSchedules) {
    solid.Position.X.AddSchedule(100.0, 100, false);
    clock.Advance(500);
    solid.Render();
    // The run-out segment is still queued: a hidden model reads no value.
    EXPECT_EQ(solid.Position.X.Schedule.size(), 1u);
}

TEST_F(TSolidFixture, VisibleModelSetsOnlyTheWorldTransform) {
    solid.Visible = true;
    RenderedWorld();
}

TEST_F(TSolidFixture, ModelIsTurnedInPlaceThenMovedToItsPosition) {
    solid.Visible = true;
    Place(100, 0, 0, 0, 0, 90);
    ExpectNear(Transform({1, 0, 0}, RenderedWorld()), {100, 1, 0}, 1e-4f);
}

TEST_F(TSolidFixture, HalfTurnAboutXShowsTheOtherFace) {
    solid.Visible = true;
    Place(0, 0, 0, 180, 0, 0);
    ExpectNear(Transform({0, 0, 10}, RenderedWorld()), {0, 0, -10}, 1e-4f);
}

TEST_F(TSolidFixture, XRotationIsAppliedBeforeY) {
    solid.Visible = true;
    Place(0, 0, 0, 90, 90, 0);
    // (0, 1, 0) turns about X to (0, 0, 1), then about Y to (1, 0, 0); Y first would give
    // (0, 0, 1).
    ExpectNear(Transform({0, 1, 0}, RenderedWorld()), {1, 0, 0}, 1e-5f);
}

TEST_F(TSolidFixture, YRotationIsAppliedBeforeZ) {
    solid.Visible = true;
    Place(0, 0, 0, 0, 90, 90);
    // (0, 0, 1) turns about Y to (1, 0, 0), then about Z to (0, 1, 0); Z first would give
    // (1, 0, 0).
    ExpectNear(Transform({0, 0, 1}, RenderedWorld()), {0, 1, 0}, 1e-5f);
}

TEST_F(TSolidFixture, WorldMatrixFollowsTheAnimatedValuesAtTheMomentOfRendering) {
    solid.Visible = true;
    solid.Position.Z.AddSchedule(200.0, 1000, false);
    clock.Advance(250);
    ExpectNear(Transform({0, 0, 0}, RenderedWorld()), {0, 0, 50}, 1e-4f);
    clock.Advance(250);
    ExpectNear(Transform({0, 0, 0}, RenderedWorld()), {0, 0, 100}, 1e-4f);
}

TEST_F(TSolidFixture, ModelWithoutADeviceDrawsNothingInsteadOfCrashing) {
    TSolid orphan(nullptr, nullptr);
    orphan.Visible = true;
    EXPECT_FALSE(orphan.Render());
}
