#include "scene/Solidring.h"

#include <cmath>

namespace {

constexpr int kRingSegments = 32;
constexpr int kVertexCount = 2 * (kRingSegments + 1); // inner and outer, the ring closed
constexpr double kSegmentAngle = 0.19634954084936207; // a thirty-second of a turn
constexpr float kRingSpecular = 0.2f;

struct TRingMesh {
    D3DVERTEX Vertices[kVertexCount];
};

D3DVERTEX RingVertex(float radius, double angle) {
    const float x = static_cast<float>(radius * std::cos(angle));
    const float y = static_cast<float>(radius * std::sin(angle));
    return {x, y, TSolidRing::kHeight, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
}

TRingMesh BuildMesh() {
    TRingMesh mesh{};
    // A strip inner, outer, inner, ... going counter-clockwise about +Z, so that its first
    // triangle turns as the legal-move mark's do: the front side seen from above.
    for (int n = 0; n <= kRingSegments; ++n) {
        const double angle = n * kSegmentAngle;
        mesh.Vertices[2 * n] = RingVertex(TSolidRing::kInnerRadius, angle);
        mesh.Vertices[2 * n + 1] = RingVertex(TSolidRing::kOuterRadius, angle);
    }
    return mesh;
}

TRingMesh& Mesh() {
    static TRingMesh mesh = BuildMesh();
    return mesh;
}

} // namespace

TSolidRing::TSolidRing(TDevice3D* device, TDeviceMaterial* material, D3DCOLORVALUE colour)
    : TSolid(device, material), m_material(ModelMaterial(colour, kRingSpecular)) {
    Mesh();
}

bool TSolidRing::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    TRingMesh& mesh = Mesh();
    Device->BeginScene();
    Material->SetMaterial(m_material);
    Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DVT_VERTEX, mesh.Vertices, kVertexCount, 0);
    Device->EndScene();
    return true;
}
