#include "scene/Solidpointer.h"

#include "SceneTestSupport.h"

namespace {

struct TPointerFixture : TSceneFixture {
    TSolidPointer pointer{device.get(), material.get()};

    TPointerFixture() { pointer.Visible = true; }
};

} // namespace

TEST_F(TPointerFixture, RenderDrawsOneYellowTriangleListInItsOwnScene) {
    ASSERT_TRUE(pointer.Render());
    const std::vector<TCallKind> expected = {callSetTransform, callBeginScene, callSetMaterial,
                                             callDrawPrimitive, callEndScene};
    ASSERT_EQ(log.Kinds(), expected);
    const D3DMATERIAL& m = log[2].Material();
    EXPECT_EQ(m.dwSize, 80u);
    EXPECT_EQ(m.diffuse.r, 1.0f);
    EXPECT_EQ(m.diffuse.g, 1.0f);
    EXPECT_EQ(m.diffuse.b, 0.0f);
    EXPECT_EQ(m.diffuse.a, 0.0f);
    EXPECT_EQ(m.ambient.g, 0.1f);
    EXPECT_EQ(m.specular.b, 0.2f);
    EXPECT_EQ(m.power, 1.0f);
    EXPECT_EQ(m.dwRampSize, 1u);
    EXPECT_EQ(log[3].Type, D3DPT_TRIANGLELIST);
    EXPECT_EQ(log[3].Value, D3DVT_VERTEX);
    EXPECT_EQ(log[3].Count, 6u);
    EXPECT_EQ(log[3].Flags, 0u);
}

TEST_F(TPointerFixture, HiddenPointerDrawsNothing) {
    pointer.Visible = false;
    EXPECT_FALSE(pointer.Render());
    EXPECT_EQ(log.Size(), 0u);
}

TEST_F(TPointerFixture, TipAtTheOriginUpperEdgeAHundredAbove) {
    pointer.Render();
    const D3DVERTEX* v = log[3].Vertices;
    const float expected[6][6] = {{0, 0, 0, 0, 1, 0},     {-25, 0, 100, 0, 1, 0},
                                  {25, 0, 100, 0, 1, 0},  {0, 0, 0, 0, -1, 0},
                                  {25, 0, 100, 0, -1, 0}, {-25, 0, 100, 0, -1, 0}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(v[i].x, expected[i][0]) << i;
        EXPECT_EQ(v[i].y, expected[i][1]) << i;
        EXPECT_EQ(v[i].z, expected[i][2]) << i;
        EXPECT_EQ(v[i].nx, expected[i][3]) << i;
        EXPECT_EQ(v[i].ny, expected[i][4]) << i;
        EXPECT_EQ(v[i].nz, expected[i][5]) << i;
        EXPECT_EQ(v[i].tu, 0.0f);
        EXPECT_EQ(v[i].tv, 0.0f);
    }
}

TEST_F(TPointerFixture, OneTriangleFacesEachSide) {
    pointer.Render();
    const auto triangles = Triangles(log[3]);
    ASSERT_EQ(triangles.size(), 2u);
    EXPECT_TRUE(FacesAlongItsNormals(triangles[0]));
    EXPECT_TRUE(FacesAlongItsNormals(triangles[1]));
}

TEST_F(TPointerFixture, QuarterTurnAboutZLaysTheUpperEdgeAlongY) {
    pointer.Position.X.SetValue(70.0);
    pointer.Position.Y.SetValue(-210.0);
    pointer.Rotation.Z.SetValue(90.0);
    pointer.Render();
    const TMatrix world = log[0].Matrix();
    ExpectNear(Transform({25, 0, 100}, world), {70, -210 + 25, 100}, 1e-3f);
    ExpectNear(Transform({-25, 0, 100}, world), {70, -210 - 25, 100}, 1e-3f);
    ExpectNear(Transform({0, 0, 0}, world), {70, -210, 0}, 1e-3f);
}

TEST_F(TPointerFixture, SecondPointerLeavesTheMeshAsTheFirstBuiltIt) {
    pointer.Render();
    const D3DVERTEX* vertices = log[3].Vertices;
    const D3DVERTEX before = vertices[1];
    TSolidPointer second(device.get(), material.get());
    second.Visible = true;
    log.Clear();
    second.Render();
    EXPECT_EQ(log[3].Vertices, vertices);
    EXPECT_EQ(vertices[1].x, before.x);
}
