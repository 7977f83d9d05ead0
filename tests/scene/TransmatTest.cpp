#include "scene/Transmat.h"

#include "SceneTestSupport.h"

#include <cmath>
#include <numbers>
#include <tuple>

// Quarter turns carry each axis to the next; in a product the left matrix acts first.
TEST(Transmat, TurnsViewsAndProjectionsMoveEachPointWhereTheyShould) {
    const float kQuarterTurn = std::numbers::pi_v<float> / 2;
    const TMatrix x = MatrixRotateX(kQuarterTurn), y = MatrixRotateY(kQuarterTurn),
                  z = MatrixRotateZ(kQuarterTurn), t = MatrixTranslate(1, 2, 3);
    // clang-format off
    const std::tuple<TMatrix, TVector, TVector> turns[] = {
        {x, {0, 1, 0}, {0, 0, 1}}, {y, {0, 0, 1}, {1, 0, 0}}, {z, {1, 0, 0}, {0, 1, 0}},
        {MatrixMultiply(t, z), {0, 0, 0}, {-2, 1, 3}}, {MatrixMultiply(z, t), {1, 0, 0}, {1, 3, 3}}};
    // clang-format on
    for (const auto& [m, from, to] : turns) {
        SCOPED_TRACE(::testing::Message() << "to " << to.x << "," << to.y << "," << to.z);
        ExpectNear(Transform(from, m), to, 1e-5f);
    }

    // The eye at the origin, the look-at point ahead, up up; a roll turns about Z first.
    const std::pair<TVector, TVector> eyes[] = {{{300, -1200, 900}, {40, 60, 0}},
                                                {{0, 2000, 2000}, {10, 0, 0}},
                                                {{-700, 50, 300}, {0, 0, 0}}};
    for (const auto& [eye, at] : eyes) {
        SCOPED_TRACE(::testing::Message() << "eye " << eye.x << "," << eye.y);
        const TMatrix view = MatrixView(eye, at, {0, 0, 1}, 0.0f);
        const float distance = std::hypot(at.x - eye.x, at.y - eye.y, at.z - eye.z);
        ExpectNear(Transform(eye, view), {0, 0, 0}, 1e-2f);
        ExpectNear(Transform(at, view), {0, 0, distance}, 1e-2f);
        EXPECT_GT(Transform({at.x, at.y, at.z + 100}, view).y, 1.0f);
        const TVector p{at.x + 50, at.y - 30, at.z};
        ExpectNear(Transform(p, MatrixView(eye, at, {0, 0, 1}, 0.7f)),
                   Transform(Transform(p, MatrixRotateZ(-0.7f)), view), 1e-2f);
    }

    // Depth 0 at the near plane, 1 at the far (the camera's test finds the picture's edges).
    const TMatrix projection = MatrixProjection(400.0f, 4000.0f, 0.6f);
    const auto depth = [&](float at) { return Transform({0, 0, at}, projection).z; };
    EXPECT_NEAR(depth(400), 0.0f, 1e-6f);
    EXPECT_NEAR(depth(4000), 1.0f, 1e-6f);
    EXPECT_NEAR(depth(2000), 4000.0f * 1600.0f / (2000.0f * 3600.0f), 1e-5f);
}
