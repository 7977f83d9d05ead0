#include "scene/Solidpiece.h"

#include <cmath>

namespace {

constexpr int kRingSegments = 16;
constexpr int kFaceVertexCount = kRingSegments + 2; // centre and the closed ring
constexpr int kRimVertexCount = 2 * (kRingSegments + 1);
constexpr double kSegmentAngle = 0.39269908169872414; // a sixteenth of a turn
constexpr float kRadius = 50.0f;
constexpr float kHalfThickness = 10.0f;
// The face normals lean outwards at the ring so that each face is lit as if slightly domed.
// They are deliberately left unnormalised; the device normalises what it lights.
constexpr double kFaceNormalLean = 0.2;

struct TDiscMesh {
    D3DMATERIAL Black;
    D3DMATERIAL White;
    D3DVERTEX TopFace[kFaceVertexCount];
    D3DVERTEX UpperRim[kRimVertexCount];
    D3DVERTEX BottomFace[kFaceVertexCount];
    D3DVERTEX LowerRim[kRimVertexCount];
};

D3DVERTEX Vertex(float x, float y, float z, float nx, float ny, float nz) {
    return {x, y, z, nx, ny, nz, 0.0f, 0.0f};
}

struct TRingPoint {
    float C;
    float S;
};

TRingPoint RingPoint(int n) {
    const double angle = n * kSegmentAngle;
    return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

float Lean(float v) {
    return static_cast<float>(kFaceNormalLean * v);
}

// Every array runs clockwise on screen when its surface is seen from outside the disc: the top
// ring counter-clockwise about +Z, the others mirrored through y.
TDiscMesh BuildMesh() {
    TDiscMesh mesh{};
    mesh.Black = ModelMaterial({0.0f, 0.0f, 0.0f, 0.0f}, 0.2f);
    mesh.White = ModelMaterial({1.0f, 1.0f, 1.0f, 0.0f}, 0.2f);

    mesh.TopFace[0] = Vertex(0.0f, 0.0f, kHalfThickness, 0.0f, 0.0f, 1.0f);
    mesh.BottomFace[0] = Vertex(0.0f, 0.0f, -kHalfThickness, 0.0f, 0.0f, -1.0f);
    for (int n = 0; n <= kRingSegments; ++n) {
        const auto [c, s] = RingPoint(n);
        mesh.TopFace[n + 1] =
            Vertex(kRadius * c, kRadius * s, kHalfThickness, Lean(c), Lean(s), 1.0f);
        mesh.BottomFace[n + 1] =
            Vertex(kRadius * c, -kRadius * s, -kHalfThickness, Lean(c), -Lean(s), -1.0f);
    }
    for (int n = 0; n <= kRingSegments; ++n) {
        const auto [c, s] = RingPoint(n);
        mesh.UpperRim[2 * n] = Vertex(kRadius * c, -kRadius * s, 0.0f, c, -s, 0.0f);
        mesh.UpperRim[2 * n + 1] = Vertex(kRadius * c, -kRadius * s, kHalfThickness, c, -s, 0.0f);
        mesh.LowerRim[2 * n] = Vertex(kRadius * c, kRadius * s, 0.0f, c, s, 0.0f);
        mesh.LowerRim[2 * n + 1] = Vertex(kRadius * c, kRadius * s, -kHalfThickness, c, s, 0.0f);
    }
    return mesh;
}

TDiscMesh& Mesh() {
    static TDiscMesh mesh = BuildMesh();
    return mesh;
}

} // namespace

TSolidPiece::TSolidPiece(TDevice3D* device, TDeviceMaterial* material) : TSolid(device, material) {
    Mesh();
}

bool TSolidPiece::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    TDiscMesh& mesh = Mesh();
    Device->BeginScene();
    Material->SetMaterial(mesh.Black);
    Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, mesh.TopFace, kFaceVertexCount, 0);
    Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DVT_VERTEX, mesh.UpperRim, kRimVertexCount, 0);
    Material->SetMaterial(mesh.White);
    Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, mesh.BottomFace, kFaceVertexCount, 0);
    Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DVT_VERTEX, mesh.LowerRim, kRimVertexCount, 0);
    Device->EndScene();
    return true;
}
