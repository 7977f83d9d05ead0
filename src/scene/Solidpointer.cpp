#include "scene/Solidpointer.h"

namespace {

constexpr int VertexCount = 6;

D3DMATERIAL g_pointerMaterial;
D3DVERTEX g_pointerVertices[VertexCount];
bool g_meshToBuild = true;

void BuildMesh() {
    D3DMATERIAL m{};
    m.dwSize = sizeof(D3DMATERIAL);
    m.diffuse = {1.0f, 1.0f, 0.0f, 0.0f};
    m.ambient = {0.1f, 0.1f, 0.1f, 0.0f};
    m.specular = {0.2f, 0.2f, 0.2f, 0.0f};
    m.emissive = {0.0f, 0.0f, 0.0f, 0.0f};
    m.power = 1.0f;
    m.dwRampSize = 1;
    g_pointerMaterial = m;

    // Front (+Y) then back (-Y): the same corners in the opposite order.
    g_pointerVertices[0] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    g_pointerVertices[1] = {-25.0f, 0.0f, 100.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    g_pointerVertices[2] = {25.0f, 0.0f, 100.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    g_pointerVertices[3] = {0.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f};
    g_pointerVertices[4] = {25.0f, 0.0f, 100.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f};
    g_pointerVertices[5] = {-25.0f, 0.0f, 100.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f};
}

} // namespace

TSolidPointer::TSolidPointer(TDevice3D* device, TDeviceMaterial* material)
    : TSolid(device, material) {
    if (g_meshToBuild) {
        BuildMesh();
        g_meshToBuild = false;
    }
}

bool TSolidPointer::Render() {
    if (!TSolid::Render()) {
        return false;
    }
    Device->BeginScene();
    Material->SetMaterial(g_pointerMaterial);
    Device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, g_pointerVertices, VertexCount, 0);
    Device->EndScene();
    return true;
}
