#include "scene/Camera.h"

#include "SceneTestSupport.h"

// Every board point seen comes back from its clip position; where the plane does not show, none.
TEST(CameraPick, ClipPointOnGroundInvertsTheForwardProjection) {
    const TMatrix kProjection =
        MatrixProjection(TCamera::kDefaultNear, TCamera::kDefaultFar, TCamera::DefaultFov);
    const std::pair<TVector, TVector> views[] = {{{765.4f, 1847.8f, 2000}, {0, 0, 0}},
                                                 {{0, 1000, 500}, {-70, 210, 10}},
                                                 {{765.4f, 1847.8f, -600}, {0, 0, 0}}};
    TVector ground{};
    for (const auto& [eye, lookAt] : views) {
        const TMatrix view = MatrixView(eye, lookAt, {0, 0, 1}, 0.0f);
        for (float x = -550; x <= 550; x += 110) {
            for (float y = -550; y <= 550; y += 110) {
                SCOPED_TRACE(::testing::Message() << "eye z " << eye.z << " at " << x << "," << y);
                const TVector seen = Transform({x, y, 0}, MatrixMultiply(view, kProjection));
                if (seen.z >= 0 && seen.z <= 1) { // outside the depth range: not drawn
                    ASSERT_TRUE(ClipPointOnGround(view, kProjection, seen.x, seen.y, ground));
                    ExpectNear(ground, {x, y, 0}, 0.5f);
                }
            }
        }
    }
    // The picture's edges are 0.3 of the depth off the axis.
    ExpectNear(Transform({300, -300, 1000}, kProjection),
               {1, -1, Transform({0, 0, 1000}, kProjection).z}, 1e-4f);
    // Level with the board, the upper half is sky; from far above, the plane is beyond the far.
    const TMatrix level = MatrixView({0, 2000, 100}, {0, 0, 100}, {0, 0, 1}, 0.0f);
    EXPECT_FALSE(ClipPointOnGround(level, kProjection, 0.0f, 0.5f, ground));
    EXPECT_TRUE(ClipPointOnGround(level, kProjection, 0.0f, -0.5f, ground));
    const TMatrix high = MatrixView({0, 10, 5000}, {0, 0, 0}, {0, 0, 1}, 0.0f);
    EXPECT_FALSE(ClipPointOnGround(high, kProjection, 0.0f, 0.0f, ground));
}
