#include "scene/Solidboard.h"

#include "scene/BoardGeometry.h"

namespace {

constexpr int kVerticesPerSquare = 4;
// Tile edges as offsets from the board's corner square: 3.03 and 3.97 pitches leave each tile
// 0.94 of the pitch wide, centred on its square.
constexpr double kTileNearEdge = 3.03;
constexpr double kTileFarEdge = 3.97;
constexpr float kPlateHalfSize = 560.0f;
constexpr float kPlateDepth = -1.0f;
constexpr int kInitialGrey = 180;
constexpr float kBoardSpecular = 0.1f;

struct TBoardMesh {
    D3DMATERIAL SquareMaterial;
    D3DVERTEX SquareVertices[kPieceCount * kVerticesPerSquare];
    D3DMATERIAL BaseMaterial;
    D3DVERTEX BaseVertices[4];
};

D3DVERTEX UpVertex(float x, float y, float z) {
    return {x, y, z, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
}

float TileEdge(int index, double offset) {
    return static_cast<float>((index - offset) * kSquarePitch);
}

// The mesh in the colour (R, G, B), each 0..255.
void BuildMesh(TBoardMesh& mesh, int R, int G, int B) {
    constexpr double kPerStep = 0.00392156862745098; // 1 / 255
    mesh.SquareMaterial =
        ModelMaterial({static_cast<float>(R * kPerStep), static_cast<float>(G * kPerStep),
                       static_cast<float>(B * kPerStep), 0.0f},
                      kBoardSpecular);
    for (int row = 0; row < kBoardSide; ++row) {
        for (int column = 0; column < kBoardSide; ++column) {
            const float xa = TileEdge(column, kTileNearEdge);
            const float xb = TileEdge(column, kTileFarEdge);
            const float ya = TileEdge(row, kTileNearEdge);
            const float yb = TileEdge(row, kTileFarEdge);
            D3DVERTEX* square = &mesh.SquareVertices[PieceIndex(column, row) * kVerticesPerSquare];
            square[0] = UpVertex(xa, ya, 0.0f);
            square[1] = UpVertex(xb, ya, 0.0f);
            square[2] = UpVertex(xb, yb, 0.0f);
            square[3] = UpVertex(xa, yb, 0.0f);
        }
    }
    mesh.BaseMaterial = ModelMaterial({0.0f, 0.0f, 0.0f, 0.0f}, kBoardSpecular);
    mesh.BaseVertices[0] = UpVertex(kPlateHalfSize, kPlateHalfSize, kPlateDepth);
    mesh.BaseVertices[1] = UpVertex(-kPlateHalfSize, kPlateHalfSize, kPlateDepth);
    mesh.BaseVertices[2] = UpVertex(-kPlateHalfSize, -kPlateHalfSize, kPlateDepth);
    mesh.BaseVertices[3] = UpVertex(kPlateHalfSize, -kPlateHalfSize, kPlateDepth);
}

TBoardMesh& Mesh() {
    static TBoardMesh mesh = [] {
        TBoardMesh grey{};
        BuildMesh(grey, kInitialGrey, kInitialGrey, kInitialGrey);
        return grey;
    }();
    return mesh;
}

} // namespace

TSolidBoard::TSolidBoard(TDevice3D* device, TDeviceMaterial* material) : TSolid(device, material) {
    Mesh();
}

bool TSolidBoard::SetColor(int R, int G, int B) {
    BuildMesh(Mesh(), R, G, B);
    return true;
}

bool TSolidBoard::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    TBoardMesh& mesh = Mesh();
    Device->BeginScene();
    Material->SetMaterial(mesh.SquareMaterial);
    for (int k = 0; k < kPieceCount; ++k) {
        Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX,
                              &mesh.SquareVertices[k * kVerticesPerSquare], kVerticesPerSquare, 0);
    }
    Material->SetMaterial(mesh.BaseMaterial);
    Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, mesh.BaseVertices, 4, 0);
    Device->EndScene();
    return true;
}
