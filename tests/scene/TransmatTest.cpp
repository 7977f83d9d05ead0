#include "scene/Transmat.h"

#include "SceneTestSupport.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2;

} // namespace

// Matrices are checked through what they do to points.
TEST(Transmat, QuarterTurnsCarryEachAxisToTheNext) {
    const struct {
        TMatrix (*Rotate)(float);
        TVector From, To;
    } rows[] = {{MatrixRotateX, {0, 1, 0}, {0, 0, 1}}, {MatrixRotateX, {0, 0, 1}, {0, -1, 0}},
                {MatrixRotateY, {0, 0, 1}, {1, 0, 0}}, {MatrixRotateY, {1, 0, 0}, {0, 0, -1}},
                {MatrixRotateZ, {1, 0, 0}, {0, 1, 0}}, {MatrixRotateZ, {0, 1, 0}, {-1, 0, 0}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.From.x << row.From.y << row.From.z);
        ExpectNear(Transform(row.From, row.Rotate(kQuarterTurn)), row.To, 1e-6f);
    }
}

TEST(Transmat, ProductsApplyTheLeftMatrixFirst) {
    const TMatrix t = MatrixTranslate(1, 2, 3);
    const TMatrix r = MatrixRotateZ(kQuarterTurn);
    ExpectNear(Transform({0, 0, 0}, MatrixMultiply(t, r)), {-2, 1, 3}, 1e-5f);
    ExpectNear(Transform({1, 0, 0}, MatrixMultiply(r, t)), {1, 3, 3}, 1e-5f);
    ExpectNear(Transform({4, 5, 6}, MatrixMultiply(MatrixIdentity(), t)), {5, 7, 9}, 1e-5f);
    TMatrix m = t; // a product may be assigned back to an input
    m = MatrixMultiply(m, MatrixTranslate(0, 2, 0));
    ExpectNear(Transform({0, 0, 0}, m), {1, 4, 3}, 1e-5f);
}

// From any eye: the eye is the origin, the look-at point straight ahead at its distance, and a
// point above it appears above the centre; a roll turns the world about Z first.
TEST(Transmat, ViewPutsTheLookAtPointAheadAndUpUp) {
    const struct {
        TVector Eye, At;
    } rows[] = {{{0, -1000, 0}, {0, 0, 0}},
                {{300, -1200, 900}, {40, 60, 0}},
                {{0, 2000, 2000}, {10, 0, 0}},
                {{-700, 50, 300}, {0, 0, 0}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "eye " << row.Eye.x << "," << row.Eye.y);
        const TMatrix view = MatrixView(row.Eye, row.At, {0, 0, 1}, 0.0f);
        const float dx = row.At.x - row.Eye.x, dy = row.At.y - row.Eye.y, dz = row.At.z - row.Eye.z;
        ExpectNear(Transform(row.Eye, view), {0, 0, 0}, 1e-2f);
        ExpectNear(Transform(row.At, view), {0, 0, std::sqrt(dx * dx + dy * dy + dz * dz)}, 1e-2f);
        EXPECT_GT(Transform({row.At.x, row.At.y, row.At.z + 100}, view).y, 1.0f);
        const TMatrix rolled = MatrixView(row.Eye, row.At, {0, 0, 1}, 0.7f);
        const TVector p{row.At.x + 50, row.At.y - 30, row.At.z};
        ExpectNear(Transform(p, rolled), Transform(Transform(p, MatrixRotateZ(-0.7f)), view),
                   1e-2f);
    }
}

// Depth 0 at the near plane, 1 at the far one, equal scale on both axes, and a point at half
// the field of view from the axis on the edge of the picture.
TEST(Transmat, ProjectionMapsTheFrustumToTheUnitRange) {
    const float fov = 0.6f;
    const TMatrix p = MatrixProjection(400.0f, 4000.0f, fov);
    EXPECT_NEAR(Transform({0, 0, 400}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Transform({0, 0, 4000}, p).z, 1.0f, 1e-6f);
    EXPECT_NEAR(Transform({0, 0, 2000}, p).z, 4000.0f * 1600.0f / (2000.0f * 3600.0f), 1e-5f);
    const float edge = 1000.0f * std::tan(fov / 2);
    ExpectNear(Transform({edge, -edge, 1000}, p), {1, -1, Transform({0, 0, 1000}, p).z}, 1e-5f);
}
