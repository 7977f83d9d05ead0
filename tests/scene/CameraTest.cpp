#include "scene/Camera.h"

#include "SceneTestSupport.h"

// Every board point seen from a camera comes back from its clip position, from the play view,
// the swoop, a low free view and from under the board; where the plane does not show, none.
TEST(CameraPick, ClipPointOnGroundInvertsTheForwardProjection) {
    const TMatrix kProjection =
        MatrixProjection(TCamera::kDefaultNear, TCamera::kDefaultFar, TCamera::DefaultFov);
    const std::pair<TVector, TVector> views[] = {{{765.4f, 1847.8f, 2000}, {0, 0, 0}},
                                                 {{0, 1000, 500}, {-70, 210, 10}},
                                                 {{-1414.2f, 1414.2f, 300}, {0, 0, 0}},
                                                 {{765.4f, 1847.8f, -600}, {0, 0, 0}},
                                                 {{1999, 10, 3000}, {0, 0, 0}}};
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
    // Level across the board from its own height the upper half is sky; from far above the
    // plane lies beyond the far plane.
    const TMatrix level = MatrixView({0, 2000, 100}, {0, 0, 100}, {0, 0, 1}, 0.0f);
    EXPECT_FALSE(ClipPointOnGround(level, kProjection, 0.0f, 0.5f, ground));
    EXPECT_TRUE(ClipPointOnGround(level, kProjection, 0.0f, -0.5f, ground));
    const TMatrix high = MatrixView({0, 10, 5000}, {0, 0, 0}, {0, 0, 1}, 0.0f);
    EXPECT_FALSE(ClipPointOnGround(high, kProjection, 0.0f, 0.0f, ground));
}
