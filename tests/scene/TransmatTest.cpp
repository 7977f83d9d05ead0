#include "scene/Transmat.h"

#include "SceneTestSupport.h"

#include <cmath>
#include <numbers>

namespace {

TMatrix Sample() {
    TMatrix m;
    for (int i = 0; i < 16; ++i) {
        m.m[i / 4][i % 4] = static_cast<float>(i * 3 - 7) * 0.25f;
    }
    return m;
}

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2;

} // namespace

// ---- layout and products ----

TEST(Transmat, ElementRowColumnIsTheFloatAtFourRowsPlusColumn) {
    const TMatrix t = MatrixTranslate(1, 2, 3);
    const float* flat = &t._11;
    EXPECT_EQ(flat[12], 1.0f);
    EXPECT_EQ(flat[13], 2.0f);
    EXPECT_EQ(flat[14], 3.0f);
    EXPECT_EQ(&t.m[3][0], &t._41);
}

TEST(Transmat, IdentityIsNeutralOnEitherSide) {
    const TMatrix m = Sample();
    EXPECT_TRUE(SameMatrix(MatrixMultiply(MatrixIdentity(), m), m));
    EXPECT_TRUE(SameMatrix(MatrixMultiply(m, MatrixIdentity()), m));
}

TEST(Transmat, ZeroHasNoNonZeroElement) {
    const TMatrix z = MatrixZero();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(z.m[i / 4][i % 4], 0.0f);
    }
}

TEST(Transmat, ProductIsRowTimesColumn) {
    TMatrix a = MatrixZero();
    TMatrix b = MatrixZero();
    a.m[1][2] = 2.0f;
    a.m[1][3] = 5.0f;
    b.m[2][0] = 3.0f;
    b.m[3][0] = 7.0f;
    const TMatrix r = MatrixMultiply(a, b);
    EXPECT_EQ(r.m[1][0], 2.0f * 3.0f + 5.0f * 7.0f);
    EXPECT_EQ(r.m[0][1], 0.0f);
    // B x A is not A x B.
    EXPECT_EQ(MatrixMultiply(b, a).m[1][0], 0.0f);
}

TEST(Transmat, ProductMayBeAssignedBackToAnInput) {
    TMatrix m = MatrixTranslate(1, 0, 0);
    m = MatrixMultiply(m, MatrixTranslate(0, 2, 0));
    m = MatrixMultiply(MatrixTranslate(0, 0, 3), m);
    EXPECT_EQ(m._41, 1.0f);
    EXPECT_EQ(m._42, 2.0f);
    EXPECT_EQ(m._43, 3.0f);
}

// ---- rotations and their order ----

TEST(Transmat, QuarterTurnAboutZCarriesXToY) {
    ExpectNear(Transform({1, 0, 0}, MatrixRotateZ(kQuarterTurn)), {0, 1, 0}, 1e-6f);
}

TEST(Transmat, QuarterTurnAboutXCarriesYToZ) {
    ExpectNear(Transform({0, 1, 0}, MatrixRotateX(kQuarterTurn)), {0, 0, 1}, 1e-6f);
}

TEST(Transmat, QuarterTurnAboutYCarriesZToX) {
    ExpectNear(Transform({0, 0, 1}, MatrixRotateY(kQuarterTurn)), {1, 0, 0}, 1e-6f);
}

TEST(Transmat, RotationsStoreFloatCosinesTakenInDoublePrecision) {
    const float angle = 0.3f;
    const TMatrix m = MatrixRotateZ(angle);
    EXPECT_EQ(m._11, static_cast<float>(std::cos(static_cast<double>(angle))));
    EXPECT_EQ(m._12, static_cast<float>(std::sin(static_cast<double>(angle))));
    EXPECT_EQ(m._21, -m._12);
}

TEST(Transmat, TranslateThenRotateMovesTheTranslatedPointAboutTheOrigin) {
    const TMatrix translateFirst =
        MatrixMultiply(MatrixTranslate(1, 2, 3), MatrixRotateZ(kQuarterTurn));
    ExpectNear(Transform({0, 0, 0}, translateFirst), {-2, 1, 3}, 1e-5f);
    const TMatrix rotateFirst =
        MatrixMultiply(MatrixRotateZ(kQuarterTurn), MatrixTranslate(1, 2, 3));
    ExpectNear(Transform({0, 0, 0}, rotateFirst), {1, 2, 3}, 1e-5f);
    ExpectNear(Transform({1, 0, 0}, rotateFirst), {1, 3, 3}, 1e-5f);
}

// ---- view ----

TEST(Transmat, ViewFromMinusTenOnZIsIdentityPushedTenAway) {
    const TMatrix view = MatrixView({0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0.0f);
    TMatrix expected = MatrixIdentity();
    expected._43 = 10.0f;
    EXPECT_TRUE(SameMatrix(view, expected));
}

TEST(Transmat, ViewPutsTheLookAtPointStraightAheadAndTheUpVectorUp) {
    const TVector eye = {300, -1200, 900};
    const TVector at = {40, 60, 0};
    const TMatrix view = MatrixView(eye, at, {0, 0, 1}, 0.0f);
    const TVector seen = Transform(at, view);
    EXPECT_NEAR(seen.x, 0.0f, 1e-3f);
    EXPECT_NEAR(seen.y, 0.0f, 1e-3f);
    const float distance = std::sqrt(260.0f * 260.0f + 1260.0f * 1260.0f + 900.0f * 900.0f);
    EXPECT_NEAR(seen.z, distance, 1e-2f);
    // A point above the look-at point appears above the centre of the view.
    EXPECT_GT(Transform({40, 60, 100}, view).y, 0.0f);
    // The eye itself is the origin of the view.
    ExpectNear(Transform(eye, view), {0, 0, 0}, 1e-3f);
}

TEST(Transmat, ViewWithAnAngleIsTheViewAfterTurningTheWorldByMinusTheAngle) {
    const TVector eye = {0, 2000, 2000}, at = {10, 0, 0}, up = {0, 0, 1};
    const float angle = 0.7f;
    const TMatrix plain = MatrixView(eye, at, up, 0.0f);
    const TMatrix turned = MatrixView(eye, at, up, angle);
    EXPECT_TRUE(SameMatrix(turned, MatrixMultiply(MatrixRotateZ(-angle), plain)));
    EXPECT_FALSE(SameMatrix(turned, plain));
}

// ---- projection ----

TEST(Transmat, ProjectionOfNearOneFarTwoQuarterTurnFov) {
    const TMatrix p = MatrixProjection(1.0f, 2.0f, std::numbers::pi_v<float> / 2);
    EXPECT_FLOAT_EQ(p.m[0][0], 0.70710677f);
    EXPECT_FLOAT_EQ(p.m[1][1], 0.70710677f);
    EXPECT_FLOAT_EQ(p.m[2][3], 0.70710677f);
    EXPECT_FLOAT_EQ(p.m[2][2], 1.4142135f);
    EXPECT_FLOAT_EQ(p.m[3][2], -1.4142135f);
    for (int i = 0; i < 16; ++i) {
        const int r = i / 4, c = i % 4;
        const bool set = (r == c && r < 3) || (r == 2 && c == 3) || (r == 3 && c == 2);
        if (!set) {
            EXPECT_EQ(p.m[r][c], 0.0f) << "element " << r << "," << c;
        }
    }
}

TEST(Transmat, ProjectionMapsNearToDepthZeroAndFarToDepthOne) {
    const TMatrix p = MatrixProjection(400.0f, 4000.0f, 0.58291358f);
    EXPECT_NEAR(Transform({0, 0, 400}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Transform({0, 0, 4000}, p).z, 1.0f, 1e-6f);
    // Depth in between follows far * (z - near) / (z * (far - near)).
    EXPECT_NEAR(Transform({0, 0, 2000}, p).z, 4000.0f * 1600.0f / (2000.0f * 3600.0f), 1e-5f);
    // Equal scale on both axes: the aspect ratio comes from the viewport.
    const TVector side = Transform({100, 100, 1000}, p);
    EXPECT_FLOAT_EQ(side.x, side.y);
}
