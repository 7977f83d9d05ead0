#include "GlHarness.h"

#include "device/Setdx.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

// The scene on real frames, probed where the matrices put each part. The colours the lighting
// gives are checked exactly on single triangles (GlLightingTest); here each part must show its
// own colour in its own place.

namespace {

constexpr float kSpacing = 140.0f;
constexpr float kDiscTopZ = 20.0f; // resting at z = 10, 10 thick above its centre

float CellX(int i) {
    return static_cast<float>((i % 8 - 3.5) * kSpacing);
}
float CellY(int i) {
    const int row = i / 8;
    return static_cast<float>((row - 3.5) * kSpacing);
}

class GlScene : public ::testing::Test {
  protected:
    void SetUp() override { SetUpGraphics(1280, 960); }
    void TearDown() override { TearDownGraphics(); }
};

// Each disc shows its side where the matrices put it: white up light, black up dark. Away from
// the lamp each tile shows the board colour, channel for channel in the same order, and the gap
// beside it the darker base plate.
TEST_F(GlScene, DiscsShowTheirSidesAndTilesTheBoardColour) {
    for (const std::array<int, 3> rgb : {std::array<int, 3>{0, 178, 178}, {200, 40, 120}}) {
        SCOPED_TRACE(::testing::Message() << rgb[0] << "," << rgb[1] << "," << rgb[2]);
        g_boardModel->SetColor(rgb[0], rgb[1], rgb[2]);
        const TFrameImage frame = RenderScene(0);
        KeepFrame(frame, rgb[0] == 0 ? "initial" : "purple");
        const D3DLIGHT2& lamp = g_lights[1]->Desc;
        int checked = 0;
        for (int i = 0; i < 64; ++i) {
            const bool whiteUp = g_pieces[i]->Rotation.X.GetValue() == 180.0;
            const double disc = Luminance(Probe(frame, Project({CellX(i), CellY(i), kDiscTopZ})));
            EXPECT_TRUE(whiteUp ? disc > 0.42 : disc < 0.36) << "disc " << i << " seen " << disc;
            if (std::hypot(CellX(i) - lamp.dvPosition.x, CellY(i) - lamp.dvPosition.y) < 350) {
                continue;
            }
            // Beside the disc, inside the tile; and in the gap to the neighbouring tile.
            const float side = i % 8 == 7 ? -1.0f : 1.0f;
            const TColor tile = Probe(frame, Project({CellX(i) + side * 58.0f, CellY(i), 0.0f}));
            const TColor gap = Probe(frame, Project({CellX(i) + side * 70.0f, CellY(i), -1.0f}));
            const double seen[3] = {tile.R, tile.G, tile.B};
            for (int a = 0; a < 9; ++a) { // each pair of channels
                const int x = a / 3, y = a % 3;
                EXPECT_TRUE(rgb[x] < rgb[y] + 50
                                ? rgb[x] != rgb[y] || std::abs(seen[x] - seen[y]) < 0.02
                                : seen[x] > seen[y] + 0.05)
                    << "tile " << i << " channels " << x << " and " << y;
            }
            EXPECT_GT(Luminance(tile) - Luminance(gap), 0.05) << "tile " << i;
            ++checked;
        }
        EXPECT_GT(checked, 30);
    }
}

} // namespace
