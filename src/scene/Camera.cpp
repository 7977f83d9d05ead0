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
    SetProjection(kDefaultNear, kDefaultFar, DefaultFov);
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

bool ClipPointOnGround(const TMatrix& view, const TMatrix& projection, float clipX, float clipY,
                       TVector& ground) {
    TMatrix inverse;
    if (!MatrixInverse(MatrixMultiply(view, projection), inverse)) {
        return false;
    }
    // The world points at depth 0 (near plane) and 1 (far plane) under the clip point.
    struct TPoint {
        double X, Y, Z;
    };
    const auto unproject = [&](double depth, TPoint& point) {
        double h[4];
        for (int c = 0; c < 4; ++c) {
            h[c] = clipX * inverse.m(0, c) + clipY * inverse.m(1, c) + depth * inverse.m(2, c) +
                   inverse.m(3, c);
        }
        if (h[3] == 0.0) {
            return false;
        }
        point = {h[0] / h[3], h[1] / h[3], h[2] / h[3]};
        return true;
    };
    TPoint nearPoint{};
    TPoint farPoint{};
    if (!unproject(0.0, nearPoint) || !unproject(1.0, farPoint) || nearPoint.Z == farPoint.Z) {
        return false;
    }
    const double t = nearPoint.Z / (nearPoint.Z - farPoint.Z);
    if (!(t >= 0.0 && t <= 1.0)) {
        return false;
    }
    ground.x = static_cast<float>(nearPoint.X + t * (farPoint.X - nearPoint.X));
    ground.y = static_cast<float>(nearPoint.Y + t * (farPoint.Y - nearPoint.Y));
    ground.z = 0.0f;
    return true;
}
