#include "scene/Solidmark.h"

#include "SceneTestSupport.h"

#include <cmath>

namespace {

struct TMarkFixture : TSceneFixture {
    TSolidMark mark{device.get(), material.get()};
};

} // namespace

// One lit fan in a scene of its own, flat just above the board, wound as the board's tiles so
// that it faces the camera above; hidden, nothing.
TEST_F(TMarkFixture, DrawsOneFlatFanJustAboveTheBoardFacingUp) {
    EXPECT_FALSE(mark.Render());
    EXPECT_EQ(log.Size(), 0u);
    mark.Visible = true;
    ASSERT_TRUE(mark.Render());
    const std::vector<TCallKind> expected = {callSetTransform, callBeginScene, callSetMaterial,
                                             callDrawPrimitive, callEndScene};
    ASSERT_EQ(log.Kinds(), expected);
    EXPECT_GT(log[2].Material().diffuse.r, 0.5f);
    const TRecordedCall& fan = log[3];
    EXPECT_EQ(fan.Type, D3DPT_TRIANGLEFAN);
    ASSERT_EQ(fan.Count, 18u);
    for (uint32_t i = 0; i < fan.Count; ++i) {
        const D3DVERTEX& v = fan.Vertices[i];
        EXPECT_EQ(v.z, TSolidMark::kHeight) << i;
        EXPECT_EQ(v.nz, 1.0f) << i;
        EXPECT_LE(std::hypot(v.x, v.y), TSolidMark::kRadius + 1e-3f) << i;
        if (i >= 2) {
            const D3DVERTEX& a = fan.Vertices[i - 1];
            EXPECT_GT(a.x * v.y - a.y * v.x, 0.0f) << "turning about +Z at " << i;
        }
    }
}
