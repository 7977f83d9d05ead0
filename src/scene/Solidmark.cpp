#include "scene/Solidmark.h"

#include <cmath>

namespace {

constexpr int kRingSegments = 16;
constexpr int kVertexCount = kRingSegments + 2;       // centre and the closed ring
constexpr double kSegmentAngle = 0.39269908169872414; // a sixteenth of a turn

struct TMarkMesh {
    D3DMATERIAL Material;
    D3DVERTEX Vertices[kVertexCount];
};

TMarkMesh BuildMesh() {
    // A pale gold that reads on every board colour and differs from the pointer's yellow.
    TMarkMesh mesh{ModelMaterial({1.0f, 0.85f, 0.45f, 0.0f}, 0.2f), {}};
    // Counter-clockwise about +Z, as the board's tiles: the front side seen from above.
    mesh.Vertices[0] = {0.0f, 0.0f, TSolidMark::kHeight, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    for (int n = 0; n <= kRingSegments; ++n) {
        const double angle = n * kSegmentAngle;
        const float x = static_cast<float>(TSolidMark::kRadius * std::cos(angle));
        const float y = static_cast<float>(TSolidMark::kRadius * std::sin(angle));
        mesh.Vertices[n + 1] = {x, y, TSolidMark::kHeight, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
    }
    return mesh;
}

TMarkMesh& Mesh() {
    static TMarkMesh mesh = BuildMesh();
    return mesh;
}

} // namespace

TSolidMark::TSolidMark(TDevice3D* device, TDeviceMaterial* material) : TSolid(device, material) {
    Mesh();
}

bool TSolidMark::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    TMarkMesh& mesh = Mesh();
    Device->BeginScene();
    Material->SetMaterial(mesh.Material);
    Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, mesh.Vertices, kVertexCount, 0);
    Device->EndScene();
    return true;
}
