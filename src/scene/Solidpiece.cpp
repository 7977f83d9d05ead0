#include "scene/Solidpiece.h"

#include <cmath>

namespace {

constexpr int RingSegments = 16;
constexpr int FaceVertexCount = RingSegments + 2; // centre and the closed ring
constexpr int RimVertexCount = 2 * (RingSegments + 1);
constexpr double SegmentAngle = 0.39269908169872414; // a sixteenth of a turn
constexpr float Radius = 50.0f;
constexpr float HalfThickness = 10.0f;
// The face normals lean outwards at the ring so that each face is lit as if slightly domed.
// They are deliberately left unnormalised; the device normalises what it lights.
constexpr double FaceNormalLean = 0.2;

D3DMATERIAL g_blackMaterial;
D3DMATERIAL g_whiteMaterial;
D3DVERTEX g_topFace[FaceVertexCount];
D3DVERTEX g_upperRim[RimVertexCount];
D3DVERTEX g_bottomFace[FaceVertexCount];
D3DVERTEX g_lowerRim[RimVertexCount];
bool g_meshToBuild = true;

D3DMATERIAL DiscMaterial(float shade) {
    D3DMATERIAL m{};
    m.dwSize = sizeof(D3DMATERIAL);
    m.diffuse = {shade, shade, shade, 0.0f};
    m.ambient = {0.1f, 0.1f, 0.1f, 0.0f};
    m.specular = {0.2f, 0.2f, 0.2f, 0.0f};
    m.emissive = {0.0f, 0.0f, 0.0f, 0.0f};
    m.power = 1.0f;
    m.dwRampSize = 1;
    return m;
}

D3DVERTEX Vertex(float x, float y, float z, float nx, float ny, float nz) {
    return {x, y, z, nx, ny, nz, 0.0f, 0.0f};
}

struct TRingPoint {
    float C;
    float S;
};

TRingPoint RingPoint(int n) {
    const double angle = n * SegmentAngle;
    return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

float Lean(float v) {
    return static_cast<float>(FaceNormalLean * v);
}

// Every array runs clockwise on screen when its surface is seen from outside the disc: the top
// ring counter-clockwise about +Z, the others mirrored through y.
void BuildMesh() {
    g_blackMaterial = DiscMaterial(0.0f);
    g_whiteMaterial = DiscMaterial(1.0f);

    g_topFace[0] = Vertex(0.0f, 0.0f, HalfThickness, 0.0f, 0.0f, 1.0f);
    g_bottomFace[0] = Vertex(0.0f, 0.0f, -HalfThickness, 0.0f, 0.0f, -1.0f);
    for (int n = 0; n <= RingSegments; ++n) {
        const auto [c, s] = RingPoint(n);
        g_topFace[n + 1] = Vertex(Radius * c, Radius * s, HalfThickness, Lean(c), Lean(s), 1.0f);
        g_bottomFace[n + 1] =
            Vertex(Radius * c, -Radius * s, -HalfThickness, Lean(c), -Lean(s), -1.0f);
    }
    for (int n = 0; n <= RingSegments; ++n) {
        const auto [c, s] = RingPoint(n);
        g_upperRim[2 * n] = Vertex(Radius * c, -Radius * s, 0.0f, c, -s, 0.0f);
        g_upperRim[2 * n + 1] = Vertex(Radius * c, -Radius * s, HalfThickness, c, -s, 0.0f);
        g_lowerRim[2 * n] = Vertex(Radius * c, Radius * s, 0.0f, c, s, 0.0f);
        g_lowerRim[2 * n + 1] = Vertex(Radius * c, Radius * s, -HalfThickness, c, s, 0.0f);
    }
}

} // namespace

TSolidPiece::TSolidPiece(TDevice3D* device, TDeviceMaterial* material) : TSolid(device, material) {
    if (g_meshToBuild) {
        BuildMesh();
        g_meshToBuild = false;
    }
}

bool TSolidPiece::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    Device->BeginScene();
    Material->SetMaterial(g_blackMaterial);
    Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, g_topFace, FaceVertexCount, 0);
    Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DVT_VERTEX, g_upperRim, RimVertexCount, 0);
    Material->SetMaterial(g_whiteMaterial);
    Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_VERTEX, g_bottomFace, FaceVertexCount, 0);
    Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DVT_VERTEX, g_lowerRim, RimVertexCount, 0);
    Device->EndScene();
    return true;
}
