#include "scene/Solidboard.h"

namespace {

constexpr int SquareCount = 64;
constexpr int VerticesPerSquare = 4;
constexpr double SquarePitch = 140.0;
// Tile edges as offsets from the board's corner square: 3.03 and 3.97 pitches leave each tile
// 0.94 of the pitch wide, centred on its square.
constexpr double TileNearEdge = 3.03;
constexpr double TileFarEdge = 3.97;
constexpr float PlateHalfSize = 560.0f;
constexpr float PlateDepth = -1.0f;
constexpr int InitialGrey = 180;

D3DMATERIAL g_squareMaterial;
D3DVERTEX g_squareVertices[SquareCount * VerticesPerSquare];
D3DMATERIAL g_baseMaterial;
D3DVERTEX g_baseVertices[4];
bool g_meshToBuild = true;

D3DVERTEX UpVertex(float x, float y, float z) {
    return {x, y, z, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
}

D3DMATERIAL BoardMaterial(float r, float g, float b) {
    D3DMATERIAL m{};
    m.dwSize = sizeof(D3DMATERIAL);
    m.diffuse = {r, g, b, 0.0f};
    m.ambient = {0.1f, 0.1f, 0.1f, 0.0f};
    m.specular = {0.1f, 0.1f, 0.1f, 0.0f};
    m.emissive = {0.0f, 0.0f, 0.0f, 0.0f};
    m.power = 1.0f;
    m.dwRampSize = 1;
    return m;
}

float TileEdge(int index, double offset) {
    return static_cast<float>((index - offset) * SquarePitch);
}

} // namespace

TSolidBoard::TSolidBoard(TDevice3D* device, TDeviceMaterial* material) : TSolid(device, material) {
    if (g_meshToBuild) {
        SetColor(InitialGrey, InitialGrey, InitialGrey);
        g_meshToBuild = false;
    }
}

bool TSolidBoard::SetColor(int R, int G, int B) {
    constexpr double perStep = 0.00392156862745098; // 1 / 255
    g_squareMaterial =
        BoardMaterial(static_cast<float>(R * perStep), static_cast<float>(G * perStep),
                      static_cast<float>(B * perStep));
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            const float xa = TileEdge(j, TileNearEdge);
            const float xb = TileEdge(j, TileFarEdge);
            const float ya = TileEdge(i, TileNearEdge);
            const float yb = TileEdge(i, TileFarEdge);
            D3DVERTEX* square = &g_squareVertices[(8 * i + j) * VerticesPerSquare];
            square[0] = UpVertex(xa, ya, 0.0f);
            square[1] = UpVertex(xb, ya, 0.0f);
            square[2] = UpVertex(xb, yb, 0.0f);
            square[3] = UpVertex(xa, yb, 0.0f);
        }
    }
    g_baseMaterial = BoardMaterial(0.0f, 0.0f, 0.0f);
    g_baseVertices[0] = UpVertex(PlateHalfSize, PlateHalfSize, PlateDepth);
    g_baseVertices[1] = UpVertex(-PlateHalfSize, PlateHalfSize, PlateDepth);
    g_baseVertices[2] = UpVertex(-PlateHalfSize, -PlateHalfSize, PlateDepth);
    g_baseVertices[3] = UpVertex(PlateHalfSize, -PlateHalfSize, PlateDepth);
    return true;
}

bool TSolidBoard::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    Device->BeginScene();
    Material->SetMaterial(g_squareMaterial);
    for (int k = 0; k < SquareCount; ++k) {
        Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX,
                              &g_squareVertices[k * VerticesPerSquare], VerticesPerSquare, 0);
    }
    Material->SetMaterial(g_baseMaterial);
    Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, g_baseVertices, 4, 0);
    Device->EndScene();
    return true;
}
