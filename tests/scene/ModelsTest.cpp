#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

#include "SceneTestSupport.h"

#include <cmath>
#include <tuple>

namespace {

struct TModelsFixture : TSceneFixture {
    TSolidBoard board{device.get(), material.get()};
    TSolidPiece piece{device.get(), material.get()};
    TSolidPointer pointer{device.get(), material.get()};

    std::vector<const TRecordedCall*> Draw(TSolid& solid) {
        log.Clear();
        solid.Visible = true;
        EXPECT_TRUE(solid.Render());
        return CallsOf(callDrawPrimitive);
    }
    TVector Colour(size_t i) const {
        const D3DCOLORVALUE& c = CallsOf(callSetMaterial).at(i)->Material().diffuse;
        return {c.r, c.g, c.b};
    }
};

} // namespace

// Turned in place about X, then Y, then Z, then moved to its position.
TEST_F(TModelsFixture, WorldMatrixTurnsXThenYThenZThenMoves) {
    // The position, the degrees about X, Y and Z, a point and where it goes.
    const std::tuple<TVector, TVector, TVector, TVector> rows[] = {
        {{0, 0, 10}, {180, 0, 0}, {0, 0, 10}, {0, 0, 0}},
        {{0, 0, 0}, {90, 90, 0}, {0, 1, 0}, {1, 0, 0}},
        {{0, 0, 0}, {0, 90, 90}, {0, 0, 1}, {0, 1, 0}},
        {{70, -210, 0}, {0, 0, 90}, {25, 0, 100}, {70, -185, 100}}};
    for (const auto& [at, degrees, from, to] : rows) {
        SCOPED_TRACE(::testing::Message() << degrees.x << "," << degrees.y << "," << degrees.z);
        piece.Position.X.SetValue(at.x);
        piece.Position.Y.SetValue(at.y);
        piece.Position.Z.SetValue(at.z);
        piece.Rotation.X.SetValue(degrees.x);
        piece.Rotation.Y.SetValue(degrees.y);
        piece.Rotation.Z.SetValue(degrees.z);
        Draw(piece);
        ExpectNear(Transform(from, log[0].Matrix()), to, 1e-4f);
    }
}

// 64 tiles centred on their cells, gaps between, over the black plate, in the shared colour.
TEST_F(TModelsFixture, BoardTilesSitOnTheirCellsInTheSharedColour) {
    board.SetColor(51, 102, 204);
    TSolidBoard second(device.get(), material.get());
    const auto draws = Draw(second);
    ASSERT_EQ(draws.size(), 65u);
    for (int k = 0; k < 64; ++k) {
        SCOPED_TRACE(k);
        const D3DVERTEX* v = draws[k]->Vertices;
        const int column = k % 8;
        const int row = k / 8;
        ExpectNear({(v[0].x + v[2].x) / 2, (v[0].y + v[2].y) / 2, v[0].z},
                   {(column - 3.5f) * 140.0f, (row - 3.5f) * 140.0f, 0}, 1e-3f);
        EXPECT_NEAR(std::abs(v[0].x - v[2].x), 131.6f, 1e-3f);
    }
    const D3DVERTEX& plate = draws[64]->Vertices[0];
    ExpectNear({std::abs(plate.x), std::abs(plate.y), plate.z}, {560, 560, -1}, 1e-3f);
    ExpectNear(Colour(0), {0.2f, 0.4f, 0.8f}, 1e-6f);
    ExpectNear(Colour(1), {0, 0, 0}, 0);
}

// The disc: black above, white below, 50 in radius, 10 each way thick, its top facing up.
TEST_F(TModelsFixture, DiscAndPointerHaveTheirShapesAndColours) {
    const auto clockwise = [](const TRecordedCall& call) {
        const D3DVERTEX* v = call.Vertices;
        return (v[1].x - v[0].x) * (v[2].y - v[0].y) < (v[1].y - v[0].y) * (v[2].x - v[0].x);
    };
    const bool tile = clockwise(*Draw(board).at(0));
    const auto draws = Draw(piece);
    EXPECT_EQ(clockwise(*draws[0]), tile);
    ASSERT_EQ(draws.size(), 4u);
    ExpectNear(Colour(0), {0, 0, 0}, 0);
    ExpectNear(Colour(1), {1, 1, 1}, 0);
    for (size_t d = 0; d < 4; ++d) {
        for (uint32_t k = draws[d]->Type == D3DPT_TRIANGLEFAN; k < draws[d]->Count; ++k) {
            const D3DVERTEX& v = draws[d]->Vertices[k];
            EXPECT_NEAR(std::hypot(v.x, v.y), 50.0f, 1e-3f) << d;
            EXPECT_TRUE(d < 2 ? v.z >= 0 && v.z <= 10 : v.z <= 0 && v.z >= -10) << d;
        }
    }
    EXPECT_EQ(draws[0]->Vertices[0].z, 10.0f);

    // The pointer: a yellow triangle from the origin to a 50-wide edge 100 up, two-sided.
    const TRecordedCall& list = *Draw(pointer).at(0);
    ExpectNear(Colour(0), {1, 1, 0}, 0);
    ASSERT_EQ(list.Count, 6u);
    for (uint32_t k = 0; k < list.Count; ++k) {
        const D3DVERTEX& v = list.Vertices[k];
        ExpectNear({std::abs(v.x), v.y, v.z}, k % 3 ? TVector{25, 0, 100} : TVector{0, 0, 0}, 0);
    }
}
