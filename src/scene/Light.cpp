#include "scene/Light.h"

namespace {

D3DLIGHT2 EmptyDescription(D3DLIGHTTYPE type) {
    D3DLIGHT2 desc{};
    desc.dwSize = sizeof(D3DLIGHT2);
    desc.dltType = type;
    return desc;
}

void Jump(TMovement3D& value, const TVector& to) {
    value.X.SetValue(to.x);
    value.Y.SetValue(to.y);
    value.Z.SetValue(to.z);
}

TVector Read(TMovement3D& value) {
    const float x = static_cast<float>(value.X.GetValue());
    const float y = static_cast<float>(value.Y.GetValue());
    const float z = static_cast<float>(value.Z.GetValue());
    return {x, y, z};
}

} // namespace

TLight::TLight(TDirect3D* d3d, TDeviceViewport* viewport) : D3D(d3d), Viewport(viewport) {
    if (D3D) {
        D3DLight = D3D->CreateLight();
    }
    if (D3DLight && Viewport) {
        Viewport->AddLight(*D3DLight);
    }
    Desc.dwSize = sizeof(D3DLIGHT2);
}

void TLight::SetDirectionalLight(const D3DCOLORVALUE& color, const TVector& direction) {
    Desc = EmptyDescription(D3DLIGHT_DIRECTIONAL);
    Jump(Direction, direction);
    Desc.dcvColor = color;
    Desc.dwFlags = D3DLIGHT_ACTIVE;
    Send();
}

void TLight::SetPointLight(const D3DCOLORVALUE& color, const TVector& position, float range) {
    Desc = EmptyDescription(D3DLIGHT_POINT);
    Desc.dcvColor = color;
    Jump(Position, position);
    Desc.dvRange = range;
    Desc.dvAttenuation0 = 0.0f;
    Desc.dvAttenuation1 = 0.0f;
    Desc.dvAttenuation2 = 1.0f;
    Desc.dwFlags = D3DLIGHT_ACTIVE;
    Send();
}

void TLight::SetColor(float r, float g, float b, float a) {
    Desc.dcvColor = {r, g, b, a};
}

void TLight::SetPosition(const TVector& position) {
    Jump(Position, position);
}

void TLight::Update() {
    Desc.dvPosition = Read(Position);
    Desc.dvDirection = Read(Direction);
    Send();
}

void TLight::Send() {
    if (D3DLight) {
        D3DLight->SetLight(Desc);
    }
}
