#include "scene/Solidpointer.h"

namespace {

constexpr int kVertexCount = 6;

struct TPointerMesh {
    D3DMATERIAL Material;
    D3DVERTEX Vertices[kVertexCount];
};

TPointerMesh BuildMesh() {
    // Front (+Y) then back (-Y): the same corners in the opposite order.
    return {ModelMaterial({1.0f, 1.0f, 0.0f, 0.0f}, 0.2f),
            {{0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
             {-25.0f, 0.0f, 100.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
             {25.0f, 0.0f, 100.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
             {0.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f},
             {25.0f, 0.0f, 100.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f},
             {-25.0f, 0.0f, 100.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f}}};
}

TPointerMesh& Mesh() {
    static TPointerMesh mesh = BuildMesh();
    return mesh;
}

} // namespace

TSolidPointer::TSolidPointer(TDevice3D* device, TDeviceMaterial* material)
    : TSolid(device, material) {
    Mesh();
}

bool TSolidPointer::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    TPointerMesh& mesh = Mesh();
    Device->BeginScene();
    Material->SetMaterial(mesh.Material);
    Device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, mesh.Vertices, kVertexCount, 0);
    Device->EndScene();
    return true;
}
