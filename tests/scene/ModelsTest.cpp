#include "scene/Solid.h"
#include "scene/Solidboard.h"
#include "scene/Solidmark.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

#include "SceneTestSupport.h"
#include "platform/Clock.h"

#include <cmath>

namespace {

struct TModelsFixture : TSceneFixture {
    TManualClock clock{0};
    TScopedClock scope{clock};
    TSolidBoard board{device.get(), material.get()};
    TSolidPiece piece{device.get(), material.get()};
    TSolidPointer pointer{device.get(), material.get()};
    TSolidMark mark{device.get(), material.get()};

    // Renders one model and returns its world matrix.
    TMatrix World(TSolid& solid) {
        log.Clear();
        solid.Visible = true;
        EXPECT_TRUE(solid.Render());
        EXPECT_EQ(log[0].Kind, callSetTransform);
        return log[0].Matrix();
    }
};

void Place(TSolid& solid, TVector position, TVector degrees) {
    solid.Position.X.SetValue(position.x);
    solid.Position.Y.SetValue(position.y);
    solid.Position.Z.SetValue(position.z);
    solid.Rotation.X.SetValue(degrees.x);
    solid.Rotation.Y.SetValue(degrees.y);
    solid.Rotation.Z.SetValue(degrees.z);
}

} // namespace

// Turned in place about X, then Y, then Z, then moved to its position.
TEST_F(TModelsFixture, WorldMatrixTurnsXThenYThenZThenMoves) {
    const struct {
        TVector Position, Degrees, From, To;
    } rows[] = {{{100, 0, 0}, {0, 0, 90}, {1, 0, 0}, {100, 1, 0}},
                {{0, 0, 10}, {180, 0, 0}, {0, 0, 10}, {0, 0, 0}},
                {{0, 0, 0}, {90, 90, 0}, {0, 1, 0}, {1, 0, 0}},
                {{0, 0, 0}, {0, 90, 90}, {0, 0, 1}, {0, 1, 0}},
                {{70, -210, 0}, {0, 0, 90}, {25, 0, 100}, {70, -185, 100}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << row.Degrees.x << "," << row.Degrees.y << "," << row.Degrees.z);
        Place(piece, row.Position, row.Degrees);
        ExpectNear(Transform(row.From, World(piece)), row.To, 1e-4f);
    }
    Place(piece, {0, 0, 0}, {0, 0, 0});
    piece.Position.Z.AddSchedule(200.0, 1000, false);
    clock.Advance(250);
    ExpectNear(Transform({0, 0, 0}, World(piece)), {0, 0, 50}, 1e-4f);
}

TEST_F(TModelsFixture, HiddenModelsDrawNothingAndReadNoValue) {
    TSolid orphan(nullptr, nullptr);
    orphan.Visible = true;
    EXPECT_FALSE(orphan.Render());
    for (TSolid* solid : {static_cast<TSolid*>(&board), static_cast<TSolid*>(&piece),
                          static_cast<TSolid*>(&pointer), static_cast<TSolid*>(&mark)}) {
        solid->Visible = false;
        solid->Position.X.AddSchedule(100.0, 100, false);
        clock.Advance(500);
        EXPECT_FALSE(solid->Render());
        EXPECT_EQ(solid->Position.X.Schedule.size(), 1u);
    }
    EXPECT_EQ(log.Size(), 0u);
}

// Every triangle of every model is a front face from the side its normals point to, and every
// draw lies inside one scene.
TEST_F(TModelsFixture, EveryTriangleFacesAlongItsNormals) {
    for (TSolid* solid : {static_cast<TSolid*>(&board), static_cast<TSolid*>(&piece),
                          static_cast<TSolid*>(&pointer), static_cast<TSolid*>(&mark)}) {
        World(*solid);
        EXPECT_EQ(log[1].Kind, callBeginScene);
        EXPECT_EQ(log.GetCalls().back().Kind, callEndScene);
        int triangles = 0;
        for (const TRecordedCall* draw : CallsOf(callDrawPrimitive)) {
            for (const auto& triangle : Triangles(*draw)) {
                EXPECT_TRUE(FacesAlongItsNormals(triangle)) << "draw " << draw - &log[0];
                ++triangles;
            }
        }
        EXPECT_GE(triangles, 2);
    }
}

// 64 tiles along the rows centred on their cells with a gap to the black plate beneath, in the
// board colour shared by every board.
TEST_F(TModelsFixture, BoardTilesSitOnTheirCellsInTheSharedColour) {
    board.SetColor(51, 102, 204);
    TSolidBoard second(device.get(), material.get());
    World(second);
    const auto draws = CallsOf(callDrawPrimitive);
    ASSERT_EQ(draws.size(), 65u);
    for (int k = 0; k < 64; ++k) {
        const D3DVERTEX* v = draws[k]->Vertices;
        EXPECT_NEAR((v[0].x + v[2].x) / 2, (k % 8 - 3.5f) * 140.0f, 1e-3f) << k;
        EXPECT_NEAR((v[0].y + v[2].y) / 2, (k / 8 - 3.5f) * 140.0f, 1e-3f) << k;
        EXPECT_NEAR(std::abs(v[0].x - v[2].x), 131.6f, 1e-3f) << k;
        EXPECT_EQ(v[0].z, 0.0f);
    }
    EXPECT_EQ(draws[64]->Vertices[0].z, -1.0f);
    EXPECT_NEAR(std::abs(draws[64]->Vertices[0].x), 560.0f, 1e-3f);
    const auto materials = CallsOf(callSetMaterial);
    ASSERT_EQ(materials.size(), 2u);
    const D3DCOLORVALUE& tile = materials[0]->Material().diffuse;
    EXPECT_FLOAT_EQ(tile.r, 0.2f);
    EXPECT_FLOAT_EQ(tile.g, 0.4f);
    EXPECT_FLOAT_EQ(tile.b, 0.8f);
    const D3DCOLORVALUE& plate = materials[1]->Material().diffuse;
    EXPECT_EQ(plate.r + plate.g + plate.b, 0.0f);
}

// The disc: a black half above its centre, a white half below, both on a rim of radius 50 and
// 10 either side; all discs share one mesh.
TEST_F(TModelsFixture, DiscIsBlackAboveAndWhiteBelow) {
    World(piece);
    const auto draws = CallsOf(callDrawPrimitive);
    const auto materials = CallsOf(callSetMaterial);
    ASSERT_EQ(draws.size(), 4u);
    ASSERT_EQ(materials.size(), 2u);
    EXPECT_EQ(materials[0]->Material().diffuse.r, 0.0f);
    EXPECT_EQ(materials[1]->Material().diffuse.g, 1.0f);
    for (int i = 0; i < 4; ++i) {
        const TRecordedCall& draw = *draws[i];
        for (uint32_t k = draw.Type == D3DPT_TRIANGLEFAN ? 1 : 0; k < draw.Count; ++k) {
            const D3DVERTEX& v = draw.Vertices[k];
            EXPECT_NEAR(std::hypot(v.x, v.y), 50.0f, 1e-3f);
            EXPECT_GE(v.z * (i < 2 ? 1 : -1), 0.0f) << "half " << i / 2;
            EXPECT_LE(std::abs(v.z), 10.0f);
        }
    }
    EXPECT_EQ(draws[0]->Vertices[0].z, 10.0f);
    TSolidPiece other(device.get(), material.get());
    const D3DVERTEX* shared = draws[0]->Vertices;
    World(other);
    EXPECT_EQ(CallsOf(callDrawPrimitive)[0]->Vertices, shared);
}

// The pointer is a yellow triangle from the origin up to a 50-wide top edge 100 above; the mark
// a flat disc just above the board.
TEST_F(TModelsFixture, PointerAndMarkShapes) {
    World(pointer);
    const D3DMATERIAL& yellow = CallsOf(callSetMaterial)[0]->Material();
    EXPECT_EQ(yellow.diffuse.r + yellow.diffuse.g, 2.0f);
    EXPECT_EQ(yellow.diffuse.b, 0.0f);
    const TRecordedCall& list = *CallsOf(callDrawPrimitive)[0];
    ASSERT_EQ(list.Count, 6u);
    for (uint32_t i = 0; i < list.Count; ++i) {
        EXPECT_EQ(list.Vertices[i].y, 0.0f);
        EXPECT_EQ(list.Vertices[i].z, i % 3 == 0 ? 0.0f : 100.0f);
        EXPECT_EQ(std::abs(list.Vertices[i].x), i % 3 == 0 ? 0.0f : 25.0f);
    }
    World(mark);
    const TRecordedCall& fan = *CallsOf(callDrawPrimitive)[0];
    for (uint32_t i = 0; i < fan.Count; ++i) {
        EXPECT_EQ(fan.Vertices[i].z, TSolidMark::kHeight);
        EXPECT_LE(std::hypot(fan.Vertices[i].x, fan.Vertices[i].y), TSolidMark::kRadius + 1e-3f);
    }
}
