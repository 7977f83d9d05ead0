// The first model of each kind builds the shared mesh; nothing else in this program makes one.
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"

#include "SceneTestSupport.h"

TEST_F(TSceneFixture, FirstBoardIsGreyUntilAScreenColoursIt) {
    TSolidBoard board(device.get(), material.get());
    board.Visible = true;
    board.Render();
    const D3DMATERIAL& square = CallsOf(callSetMaterial).at(0)->Material();
    EXPECT_EQ(square.diffuse.r, static_cast<float>(180 * 0.00392156862745098));
    EXPECT_FLOAT_EQ(square.diffuse.g, 0.70588235f);
    EXPECT_FLOAT_EQ(square.diffuse.b, 0.70588235f);
}

TEST_F(TSceneFixture, LaterBoardsDoNotRebuildTheMeshOrResetTheColour) {
    TSolidBoard first(device.get(), material.get());
    first.SetColor(255, 0, 0);
    TSolidBoard second(device.get(), material.get());
    second.Visible = true;
    second.Render();
    const D3DMATERIAL& square = CallsOf(callSetMaterial).at(0)->Material();
    EXPECT_EQ(square.diffuse.r, 1.0f);
    EXPECT_EQ(square.diffuse.g, 0.0f);
}

TEST_F(TSceneFixture, DiscMeshIsReadyBeforeTheFirstDiscDraws) {
    TSolidPiece piece(device.get(), material.get());
    piece.Visible = true;
    piece.Render();
    const TRecordedCall& top = *CallsOf(callDrawPrimitive).at(0);
    EXPECT_EQ(top.Vertices[1].x, 50.0f);
    EXPECT_EQ(top.Vertices[0].z, 10.0f);
}
