#include "scene/Solidboard.h"

#include "SceneTestSupport.h"

namespace {

struct TBoardFixture : TSceneFixture {
    TSolidBoard board{device.get(), material.get()};

    TBoardFixture() {
        board.Visible = true;
        board.SetColor(180, 180, 180);
        log.Clear();
    }

    const TRecordedCall& SquareDraw(int k) {
        log.Clear();
        board.Render();
        return *CallsOf(callDrawPrimitive).at(k);
    }
};

void ExpectVertex(const D3DVERTEX& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

} // namespace

// ---- drawing ----

TEST_F(TBoardFixture, RenderDrawsSixtyFourTileFansThenThePlateInOneScene) {
    ASSERT_TRUE(board.Render());
    ASSERT_EQ(log.Size(), 1u + 1u + 1u + 64u + 1u + 1u + 1u);
    EXPECT_EQ(log[0].Kind, callSetTransform);
    EXPECT_EQ(log[1].Kind, callBeginScene);
    EXPECT_EQ(log[2].Kind, callSetMaterial);
    EXPECT_EQ(log[2].Object, material.get());
    for (size_t i = 3; i < 3 + 64; ++i) {
        EXPECT_EQ(log[i].Kind, callDrawPrimitive);
        EXPECT_EQ(log[i].Type, D3DPT_TRIANGLEFAN);
        EXPECT_EQ(log[i].Value, D3DVT_VERTEX);
        EXPECT_EQ(log[i].Count, 4u);
        EXPECT_EQ(log[i].Flags, 0u);
        // Square k's four vertices follow square k - 1's in one array.
        if (i > 3) {
            EXPECT_EQ(log[i].Vertices, log[i - 1].Vertices + 4);
        }
    }
    EXPECT_EQ(log[67].Kind, callSetMaterial);
    EXPECT_EQ(log[68].Kind, callDrawPrimitive);
    EXPECT_EQ(log[68].Type, D3DPT_TRIANGLEFAN);
    EXPECT_EQ(log[68].Count, 4u);
    EXPECT_EQ(log[69].Kind, callEndScene);
}

TEST_F(TBoardFixture, HiddenBoardMakesNoDeviceCall) {
    board.Visible = false;
    EXPECT_FALSE(board.Render());
    EXPECT_EQ(log.Size(), 0u);
}

TEST_F(TBoardFixture, EveryTileAndThePlateFaceUpwards) {
    board.Render();
    for (const TRecordedCall* draw : CallsOf(callDrawPrimitive)) {
        for (const auto& triangle : Triangles(*draw)) {
            EXPECT_TRUE(FacesAlongItsNormals(triangle));
        }
    }
    for (const TRecordedCall* draw : CallsOf(callDrawPrimitive)) {
        for (uint32_t i = 0; i < draw->Count; ++i) {
            EXPECT_EQ(draw->Vertices[i].nz, 1.0f);
            EXPECT_EQ(draw->Vertices[i].tu, 0.0f);
        }
    }
}

// ---- mesh ----

TEST_F(TBoardFixture, CornerSquaresHaveTheirWorkedVertices) {
    const TRecordedCall& first = SquareDraw(0);
    ExpectVertex(first.Vertices[0], -424.2f, -424.2f, 0);
    ExpectVertex(first.Vertices[1], -555.8f, -424.2f, 0);
    ExpectVertex(first.Vertices[2], -555.8f, -555.8f, 0);
    ExpectVertex(first.Vertices[3], -424.2f, -555.8f, 0);
    const TRecordedCall& last = SquareDraw(63);
    ExpectVertex(last.Vertices[0], 555.8f, 555.8f, 0);
    ExpectVertex(last.Vertices[1], 424.2f, 555.8f, 0);
    ExpectVertex(last.Vertices[2], 424.2f, 424.2f, 0);
    ExpectVertex(last.Vertices[3], 555.8f, 424.2f, 0);
}

TEST_F(TBoardFixture, SquaresRunAlongRowsAndAreCentredOnTheirCells) {
    for (int k : {1, 8, 27, 62}) {
        const int row = k / 8, column = k % 8;
        const D3DVERTEX* v = SquareDraw(k).Vertices;
        EXPECT_NEAR((v[0].x + v[2].x) / 2, (column - 3.5f) * 140.0f, 1e-3f) << k;
        EXPECT_NEAR((v[0].y + v[2].y) / 2, (row - 3.5f) * 140.0f, 1e-3f) << k;
        EXPECT_NEAR(v[0].x - v[2].x, 131.6f, 1e-3f);
    }
}

TEST_F(TBoardFixture, GapBetweenTheFirstTwoSquaresShowsThePlate) {
    const float firstRight = SquareDraw(0).Vertices[0].x;
    const float secondLeft = SquareDraw(1).Vertices[1].x;
    EXPECT_FLOAT_EQ(firstRight, -424.2f);
    EXPECT_FLOAT_EQ(secondLeft, -415.8f);
}

TEST_F(TBoardFixture, PlateLiesOneUnitBelowAndHalfAGapBeyondTheTiles) {
    const D3DVERTEX* plate = SquareDraw(64).Vertices;
    ExpectVertex(plate[0], 560, 560, -1);
    ExpectVertex(plate[1], -560, 560, -1);
    ExpectVertex(plate[2], -560, -560, -1);
    ExpectVertex(plate[3], 560, -560, -1);
}

// ---- colours ----

TEST_F(TBoardFixture, SquareMaterialCarriesTheBoardColourAndThePlateIsBlack) {
    board.SetColor(0, 178, 178);
    board.Render();
    const auto materials = CallsOf(callSetMaterial);
    ASSERT_EQ(materials.size(), 2u);
    const D3DMATERIAL& square = materials[0]->Material();
    EXPECT_EQ(square.dwSize, 80u);
    EXPECT_EQ(square.diffuse.r, 0.0f);
    EXPECT_EQ(square.diffuse.g, 0.69803923f);
    EXPECT_EQ(square.diffuse.b, 0.69803923f);
    EXPECT_EQ(square.diffuse.a, 0.0f);
    EXPECT_EQ(square.ambient.r, 0.1f);
    EXPECT_EQ(square.ambient.a, 0.0f);
    EXPECT_EQ(square.specular.g, 0.1f);
    EXPECT_EQ(square.emissive.b, 0.0f);
    EXPECT_EQ(square.power, 1.0f);
    EXPECT_EQ(square.hTexture, 0u);
    EXPECT_EQ(square.dwRampSize, 1u);

    const D3DMATERIAL& plate = materials[1]->Material();
    EXPECT_EQ(plate.dwSize, 80u);
    EXPECT_EQ(plate.diffuse.r, 0.0f);
    EXPECT_EQ(plate.diffuse.g, 0.0f);
    EXPECT_EQ(plate.ambient.b, 0.1f);
    EXPECT_EQ(plate.specular.r, 0.1f);
    EXPECT_EQ(plate.dwRampSize, 1u);
}

TEST_F(TBoardFixture, FullStepsGiveExactlyOne) {
    EXPECT_TRUE(board.SetColor(255, 255, 255));
    board.Render();
    const D3DMATERIAL& square = CallsOf(callSetMaterial)[0]->Material();
    EXPECT_EQ(square.diffuse.r, 1.0f);
    EXPECT_EQ(square.diffuse.g, 1.0f);
    EXPECT_EQ(square.diffuse.b, 1.0f);
}

TEST_F(TBoardFixture, ColourIsSharedByEveryBoardAndSurvivesANewBoard) {
    board.SetColor(51, 102, 204);
    TSolidBoard second(device.get(), material.get());
    second.Visible = true;
    second.Render();
    const D3DMATERIAL& square = CallsOf(callSetMaterial)[0]->Material();
    EXPECT_FLOAT_EQ(square.diffuse.r, 0.2f);
    EXPECT_FLOAT_EQ(square.diffuse.g, 0.4f);
    EXPECT_FLOAT_EQ(square.diffuse.b, 0.8f);
}

TEST_F(TBoardFixture, SettingTheColourSendsNothingToTheDevice) {
    board.SetColor(10, 20, 30);
    EXPECT_EQ(log.Size(), 0u);
}
