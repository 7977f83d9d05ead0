#include "scene/Camera.h"

#include <cmath>

const float TCamera::DefaultFov = static_cast<float>(2.0 * std::atan(0.3));

namespace {

TVector Read(TMovement3D& value) {
    const float z = static_cast<float>(value.Z.GetValue());
    const float y = static_cast<float>(value.Y.GetValue());
    const float x = static_cast<float>(value.X.GetValue());
    return {x, y, z};
}

void Jump(TMovement3D& value, const TVector& to) {
    value.X.SetValue(to.x);
    value.Y.SetValue(to.y);
    value.Z.SetValue(to.z);
}

} // namespace

TCamera::TCamera(TDevice3D* device) : Device(device) {
    SetView({0.0f, 2000.0f, 2000.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, 0.0f);
    SetProjection(DefaultNear, DefaultFar, DefaultFov);
    Update();
}

void TCamera::SetView(const TVector& eye, const TVector& lookAt, const TVector& up, float roll) {
    Jump(Eye, eye);
    Jump(LookAt, lookAt);
    Up = up;
    Roll = roll;
    View = MatrixView(eye, lookAt, up, roll);
}

void TCamera::SetProjection(float nearZ, float farZ, float fov) {
    Near = nearZ;
    Far = farZ;
    Fov = fov;
    Projection = MatrixProjection(nearZ, farZ, fov);
}

void TCamera::Update() {
    const TVector eye = Read(Eye);
    const TVector lookAt = Read(LookAt);
    View = MatrixView(eye, lookAt, Up, Roll);
    if (!Device) {
        return;
    }
    Device->SetTransform(D3DTRANSFORMSTATE_VIEW, View);
    Device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, Projection);
}
