#include "scene/Solidmark.h"

#include <cmath>

namespace {

constexpr int RingSegments = 16;
constexpr int VertexCount = RingSegments + 2;        // centre and the closed ring
constexpr double SegmentAngle = 0.39269908169872414; // a sixteenth of a turn

D3DMATERIAL g_markMaterial;
D3DVERTEX g_markVertices[VertexCount];
bool g_meshToBuild = true;

void BuildMesh() {
    // A pale gold that reads on every board colour and differs from the pointer's yellow.
    D3DMATERIAL m{};
    m.dwSize = sizeof(D3DMATERIAL);
    m.diffuse = {1.0f, 0.85f, 0.45f, 0.0f};
    m.ambient = {0.1f, 0.1f, 0.1f, 0.0f};
    m.specular = {0.2f, 0.2f, 0.2f, 0.0f};
    m.emissive = {0.0f, 0.0f, 0.0f, 0.0f};
    m.power = 1.0f;
    m.dwRampSize = 1;
    g_markMaterial = m;

    // Counter-clockwise about +Z, as the board's tiles: the front side seen from above.
    g_markVertices[0] = {0.0f, 0.0f, TSolidMark::Height, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    for (int n = 0; n <= RingSegments; ++n) {
        const double angle = n * SegmentAngle;
        const float x = static_cast<float>(TSolidMark::Radius * std::cos(angle));
        const float y = static_cast<float>(TSolidMark::Radius * std::sin(angle));
        g_markVertices[n + 1] = {x, y, TSolidMark::Height, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    }
}

} // namespace

TSolidMark::TSolidMark(TDevice3D* device, TDeviceMaterial* material) : TSolid(device, material) {
    if (g_meshToBuild) {
        BuildMesh();
        g_meshToBuild = false;
    }
}

bool TSolidMark::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    Device->BeginScene();
    Material->SetMaterial(g_markMaterial);
    Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, g_markVertices, VertexCount, 0);
    Device->EndScene();
    return true;
}
