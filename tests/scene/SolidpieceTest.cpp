#include "scene/Solidpiece.h"

#include "SceneTestSupport.h"

#include <cmath>

namespace {

struct TPieceFixture : TSceneFixture {
    TSolidPiece piece{device.get(), material.get()};

    TPieceFixture() {
        piece.Visible = true;
        piece.Render();
    }

    // 0 top face, 1 upper rim, 2 bottom face, 3 lower rim
    const TRecordedCall& Draw(int i) const { return *CallsOf(callDrawPrimitive).at(i); }
};

void ExpectVertex(const D3DVERTEX& v, TVector position, TVector normal) {
    constexpr float tolerance = 1e-4f;
    EXPECT_NEAR(v.x, position.x, tolerance);
    EXPECT_NEAR(v.y, position.y, tolerance);
    EXPECT_NEAR(v.z, position.z, tolerance);
    EXPECT_NEAR(v.nx, normal.x, 1e-6f);
    EXPECT_NEAR(v.ny, normal.y, 1e-6f);
    EXPECT_NEAR(v.nz, normal.z, 1e-6f);
    EXPECT_EQ(v.tu, 0.0f);
    EXPECT_EQ(v.tv, 0.0f);
}

} // namespace

// ---- drawing ----

TEST_F(TPieceFixture, BlackHalfThenWhiteHalfInOneScene) {
    const std::vector<TCallKind> expected = {callSetTransform,  callBeginScene,    callSetMaterial,
                                             callDrawPrimitive, callDrawPrimitive, callSetMaterial,
                                             callDrawPrimitive, callDrawPrimitive, callEndScene};
    EXPECT_EQ(log.Kinds(), expected);

    const struct {
        D3DPRIMITIVETYPE Type;
        uint32_t Count;
    } draws[] = {{D3DPT_TRIANGLEFAN, 18},
                 {D3DPT_TRIANGLESTRIP, 34},
                 {D3DPT_TRIANGLEFAN, 18},
                 {D3DPT_TRIANGLESTRIP, 34}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Draw(i).Type, draws[i].Type);
        EXPECT_EQ(Draw(i).Count, draws[i].Count);
        EXPECT_EQ(Draw(i).Value, D3DVT_VERTEX);
        EXPECT_EQ(Draw(i).Flags, 0u);
    }
}

TEST_F(TPieceFixture, MaterialsAreBlackAndWhiteWithTheSameSheen) {
    const auto materials = CallsOf(callSetMaterial);
    ASSERT_EQ(materials.size(), 2u);
    const D3DMATERIAL& black = materials[0]->Material();
    const D3DMATERIAL& white = materials[1]->Material();
    for (const D3DMATERIAL* m : {&black, &white}) {
        EXPECT_EQ(m->dwSize, 80u);
        EXPECT_EQ(m->ambient.r, 0.1f);
        EXPECT_EQ(m->ambient.a, 0.0f);
        EXPECT_EQ(m->specular.g, 0.2f);
        EXPECT_EQ(m->emissive.r, 0.0f);
        EXPECT_EQ(m->power, 1.0f);
        EXPECT_EQ(m->hTexture, 0u);
        EXPECT_EQ(m->dwRampSize, 1u);
        EXPECT_EQ(m->diffuse.a, 0.0f);
    }
    EXPECT_EQ(black.diffuse.r, 0.0f);
    EXPECT_EQ(black.diffuse.b, 0.0f);
    EXPECT_EQ(white.diffuse.r, 1.0f);
    EXPECT_EQ(white.diffuse.g, 1.0f);
    EXPECT_EQ(white.diffuse.b, 1.0f);
}

TEST_F(TPieceFixture, HiddenDiscMakesNoDeviceCall) {
    log.Clear();
    piece.Visible = false;
    EXPECT_FALSE(piece.Render());
    EXPECT_EQ(log.Size(), 0u);
}

// ---- mesh ----

TEST_F(TPieceFixture, TopFaceCentreAndRingPoints) {
    const D3DVERTEX* top = Draw(0).Vertices;
    ExpectVertex(top[0], {0, 0, 10}, {0, 0, 1});
    ExpectVertex(top[1], {50, 0, 10}, {0.2f, 0, 1});
    ExpectVertex(top[5], {0, 50, 10}, {0, 0.2f, 1});
}

TEST_F(TPieceFixture, BottomFaceRunsTheRingTheOtherWay) {
    const D3DVERTEX* bottom = Draw(2).Vertices;
    ExpectVertex(bottom[0], {0, 0, -10}, {0, 0, -1});
    ExpectVertex(bottom[1], {50, 0, -10}, {0.2f, 0, -1});
    ExpectVertex(bottom[5], {0, -50, -10}, {0, -0.2f, -1});
}

TEST_F(TPieceFixture, RimsStartAtTheSamePointAndGoUpAndDown) {
    const D3DVERTEX* upper = Draw(1).Vertices;
    const D3DVERTEX* lower = Draw(3).Vertices;
    ExpectVertex(upper[0], {50, 0, 0}, {1, 0, 0});
    ExpectVertex(upper[1], {50, 0, 10}, {1, 0, 0});
    ExpectVertex(lower[0], {50, 0, 0}, {1, 0, 0});
    ExpectVertex(lower[1], {50, 0, -10}, {1, 0, 0});
    // Quarter way round: the upper rim runs through -y, the lower through +y.
    ExpectVertex(upper[8], {0, -50, 0}, {0, -1, 0});
    ExpectVertex(lower[8], {0, 50, 0}, {0, 1, 0});
}

TEST_F(TPieceFixture, FaceNormalsLeanOutwardsAndAreNotNormalised) {
    const D3DVERTEX& v = Draw(0).Vertices[3];
    const float length = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
    EXPECT_NEAR(length, std::sqrt(1.04f), 1e-6f);
}

TEST_F(TPieceFixture, LastRingPointClosesEveryFanAndStrip) {
    const D3DVERTEX* top = Draw(0).Vertices;
    const D3DVERTEX* upper = Draw(1).Vertices;
    ExpectVertex(top[17], {top[1].x, top[1].y, top[1].z}, {top[1].nx, top[1].ny, top[1].nz});
    ExpectVertex(upper[32], {upper[0].x, upper[0].y, upper[0].z}, {1, 0, 0});
    ExpectVertex(upper[33], {upper[1].x, upper[1].y, upper[1].z}, {1, 0, 0});
}

TEST_F(TPieceFixture, EveryRingPointLiesOnTheRim) {
    for (int i = 0; i < 4; ++i) {
        const TRecordedCall& draw = Draw(i);
        const uint32_t first = draw.Type == D3DPT_TRIANGLEFAN ? 1 : 0;
        for (uint32_t k = first; k < draw.Count; ++k) {
            const D3DVERTEX& v = draw.Vertices[k];
            EXPECT_NEAR(std::hypot(v.x, v.y), 50.0f, 1e-3f);
            EXPECT_NEAR(std::abs(v.z), (i % 2 == 0 || k % 2 == 1) ? 10.0f : 0.0f, 1e-6f);
        }
    }
}

TEST_F(TPieceFixture, EveryTriangleFacesOutOfTheDisc) {
    for (int i = 0; i < 4; ++i) {
        for (const auto& triangle : Triangles(Draw(i))) {
            EXPECT_TRUE(FacesAlongItsNormals(triangle)) << "primitive " << i;
        }
    }
}

// ---- turning over ----

TEST_F(TPieceFixture, HalfTurnAboutXPutsTheWhiteFaceOnTop) {
    piece.Position.Z.SetValue(10.0);
    log.Clear();
    piece.Render();
    const TMatrix upright = log[0].Matrix();
    EXPECT_NEAR(Transform({0, 0, 10}, upright).z, 20.0f, 1e-4f); // black face up
    EXPECT_NEAR(Transform({0, 0, -10}, upright).z, 0.0f, 1e-4f);

    piece.Rotation.X.SetValue(180.0);
    log.Clear();
    piece.Render();
    const TMatrix flipped = log[0].Matrix();
    EXPECT_NEAR(Transform({0, 0, -10}, flipped).z, 20.0f, 1e-4f); // white face up
    EXPECT_NEAR(Transform({0, 0, 10}, flipped).z, 0.0f, 1e-4f);
}

TEST_F(TPieceFixture, AllDiscsDrawTheOneSharedMesh) {
    TSolidPiece other(device.get(), material.get());
    other.Visible = true;
    const D3DVERTEX* first = Draw(0).Vertices;
    log.Clear();
    other.Render();
    EXPECT_EQ(Draw(0).Vertices, first);
}
