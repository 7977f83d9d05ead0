// The first model of each kind builds the shared mesh; nothing else in this program makes one.
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"

#include "SceneTestSupport.h"

TEST_F(TSceneFixture, FirstBoardIsGreyUntilColouredAndLaterBoardsKeepTheColour) {
    TSolidBoard first(device.get(), material.get());
    first.Visible = true;
    first.Render();
    const D3DCOLORVALUE grey = CallsOf(callSetMaterial).at(0)->Material().diffuse;
    EXPECT_FLOAT_EQ(grey.r, 180 / 255.0f);
    EXPECT_FLOAT_EQ(grey.b, 180 / 255.0f);
    first.SetColor(255, 0, 0);
    TSolidBoard second(device.get(), material.get());
    second.Visible = true;
    log.Clear();
    second.Render();
    EXPECT_EQ(CallsOf(callSetMaterial).at(0)->Material().diffuse.r, 1.0f);
    TSolidPiece piece(device.get(), material.get());
    piece.Visible = true;
    log.Clear();
    piece.Render();
    EXPECT_EQ(CallsOf(callDrawPrimitive).at(0)->Vertices[1].x, 50.0f);
}
