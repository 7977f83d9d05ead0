#include "scene/Solid.h"

#include "scene/Transmat.h"

namespace {

constexpr double RadiansPerDegree = 0.017453292519943295;

float Radians(double degrees) {
    return static_cast<float>(degrees * RadiansPerDegree);
}

} // namespace

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
