#include "scene/Solid.h"

#include "scene/Transmat.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr float kAmbientReflection = 0.1f;

float Radians(double degrees) {
    return static_cast<float>(degrees * kRadiansPerDegree);
}

} // namespace

D3DMATERIAL ModelMaterial(D3DCOLORVALUE diffuse, float specular) {
    D3DMATERIAL m{};
    m.dwSize = sizeof(D3DMATERIAL);
    m.diffuse = diffuse;
    m.ambient = {kAmbientReflection, kAmbientReflection, kAmbientReflection, 0.0f};
    m.specular = {specular, specular, specular, 0.0f};
    m.emissive = {0.0f, 0.0f, 0.0f, 0.0f};
    m.power = 1.0f;
    m.dwRampSize = 1;
    return m;
}

TSolid::TSolid(TDevice3D* device, TDeviceMaterial* material) : Device(device), Material(material) {
    for (TMovement* value :
         {&Position.X, &Position.Y, &Position.Z, &Rotation.X, &Rotation.Y, &Rotation.Z}) {
        value->SetValue(0.0);
    }
}

bool TSolid::Render() {
    // A model without a device or material (a failed set-up) has nothing to draw with.
    if (!Visible || !Device || !Material) {
        return false;
    }
    const float pz = static_cast<float>(Position.Z.GetValue());
    const float py = static_cast<float>(Position.Y.GetValue());
    const float px = static_cast<float>(Position.X.GetValue());
    const float rz = Radians(Rotation.Z.GetValue());
    const float ry = Radians(Rotation.Y.GetValue());
    const float rx = Radians(Rotation.X.GetValue());

    const TMatrix world = MatrixMultiply(
        MatrixMultiply(MatrixMultiply(MatrixRotateX(rx), MatrixRotateY(ry)), MatrixRotateZ(rz)),
        MatrixTranslate(px, py, pz));
    Device->SetTransform(D3DTRANSFORMSTATE_WORLD, world);
    return true;
}
