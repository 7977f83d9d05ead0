#include "platform/d3d/Device3D.h"

#include <algorithm>

namespace {

D3DMATRIX IdentityMatrix() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

size_t TransformIndex(D3DTRANSFORMSTATETYPE state) {
    return static_cast<size_t>(state) - 1;
}

bool IsTransform(D3DTRANSFORMSTATETYPE state) {
    return state >= D3DTRANSFORMSTATE_WORLD && state <= D3DTRANSFORMSTATE_PROJECTION;
}

} // namespace

// ---- lights ----

TDeviceLight::~TDeviceLight() {
    if (Owner) {
        Owner->DetachLight(*this);
    }
}

void TDeviceLight::SetLight(const D3DLIGHT2& desc) {
    Desc = desc;
}

// ---- materials ----

TDeviceMaterial::~TDeviceMaterial() {
    if (HandleDevice) {
        HandleDevice->UnregisterMaterial(*this);
    }
}

void TDeviceMaterial::SetMaterial(const D3DMATERIAL& material) {
    Contents = material;
}

D3DMATERIALHANDLE TDeviceMaterial::GetHandle(TDevice3D& device) {
    if (HandleDevice == &device) {
        return Handle;
    }
    if (HandleDevice) {
        HandleDevice->UnregisterMaterial(*this);
    }
    HandleDevice = &device;
    Handle = device.RegisterMaterial(*this);
    return Handle;
}

// ---- viewports ----

TDeviceViewport::~TDeviceViewport() {
    for (TDeviceLight* light : Lights) {
        light->Owner = nullptr;
    }
    if (Device) {
        Device->DetachViewport(*this);
    }
}

void TDeviceViewport::AddLight(TDeviceLight& light) {
    if (light.Owner == this) {
        return;
    }
    if (light.Owner) {
        light.Owner->DetachLight(light);
    }
    light.Owner = this;
    Lights.push_back(&light);
}

void TDeviceViewport::SetViewport2(const D3DVIEWPORT2& data) {
    Data = data;
}

void TDeviceViewport::DetachLight(const TDeviceLight& light) {
    std::erase(Lights, &light);
}

// ---- device ----

TDevice3D::TDevice3D() {
    Transforms.fill(IdentityMatrix());
    // The DirectX 5 defaults of the states the program and the renderer use.
    RenderStates[D3DRENDERSTATE_TEXTUREPERSPECTIVE] = D3DSTATE_FALSE;
    RenderStates[D3DRENDERSTATE_ZENABLE] = D3DSTATE_FALSE;
    RenderStates[D3DRENDERSTATE_FILLMODE] = D3DFILL_SOLID;
    RenderStates[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
    RenderStates[D3DRENDERSTATE_ZWRITEENABLE] = D3DSTATE_TRUE;
    RenderStates[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    RenderStates[D3DRENDERSTATE_ZFUNC] = D3DCMP_LESSEQUAL;
    RenderStates[D3DRENDERSTATE_DITHERENABLE] = D3DSTATE_FALSE;
    RenderStates[D3DRENDERSTATE_FOGENABLE] = D3DSTATE_FALSE;
    RenderStates[D3DRENDERSTATE_SPECULARENABLE] = D3DSTATE_TRUE;
    RenderStates[D3DRENDERSTATE_FOGCOLOR] = 0;
    RenderStates[D3DRENDERSTATE_FOGTABLEMODE] = D3DFOG_NONE;
    RenderStates[D3DRENDERSTATE_RANGEFOGENABLE] = D3DSTATE_FALSE;
    LightStates[D3DLIGHTSTATE_MATERIAL] = 0;
    LightStates[D3DLIGHTSTATE_AMBIENT] = 0;
    LightStates[D3DLIGHTSTATE_FOGMODE] = D3DFOG_NONE;
    LightStates[D3DLIGHTSTATE_FOGSTART] = D3DStateFromFloat(1.0f);
    LightStates[D3DLIGHTSTATE_FOGEND] = D3DStateFromFloat(100.0f);
    LightStates[D3DLIGHTSTATE_FOGDENSITY] = D3DStateFromFloat(1.0f);
}

TDevice3D::~TDevice3D() {
    for (TDeviceViewport* viewport : Viewports) {
        viewport->Device = nullptr;
    }
    for (TDeviceMaterial* material : Materials) {
        if (material) {
            material->HandleDevice = nullptr;
            material->Handle = 0;
        }
    }
}

void TDevice3D::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& matrix) {
    if (IsTransform(state)) {
        Transforms[TransformIndex(state)] = matrix;
    }
}

void TDevice3D::BeginScene() {
    InScene = true;
}

void TDevice3D::EndScene() {
    InScene = false;
}

void TDevice3D::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    if (state < kRenderStateCount) {
        RenderStates[state] = value;
    }
}

void TDevice3D::SetLightState(D3DLIGHTSTATETYPE state, uint32_t value) {
    if (state < kLightStateCount) {
        LightStates[state] = value;
    }
}

void TDevice3D::AddViewport(TDeviceViewport& viewport) {
    if (viewport.Device == this) {
        return;
    }
    if (viewport.Device) {
        viewport.Device->DetachViewport(viewport);
    }
    viewport.Device = this;
    Viewports.push_back(&viewport);
}

void TDevice3D::SetCurrentViewport(TDeviceViewport& viewport) {
    if (viewport.Device == this) {
        CurrentViewport = &viewport;
    }
}

const D3DMATRIX& TDevice3D::GetTransform(D3DTRANSFORMSTATETYPE state) const {
    static const D3DMATRIX identity = IdentityMatrix();
    return IsTransform(state) ? Transforms[TransformIndex(state)] : identity;
}

uint32_t TDevice3D::GetRenderState(D3DRENDERSTATETYPE state) const {
    return state < kRenderStateCount ? RenderStates[state] : 0;
}

uint32_t TDevice3D::GetLightState(D3DLIGHTSTATETYPE state) const {
    return state < kLightStateCount ? LightStates[state] : 0;
}

TDeviceMaterial* TDevice3D::GetCurrentMaterial() const {
    const D3DMATERIALHANDLE handle = LightStates[D3DLIGHTSTATE_MATERIAL];
    if (handle == 0 || handle > Materials.size()) {
        return nullptr;
    }
    return Materials[handle - 1];
}

D3DMATERIALHANDLE TDevice3D::RegisterMaterial(TDeviceMaterial& material) {
    Materials.push_back(&material);
    return static_cast<D3DMATERIALHANDLE>(Materials.size());
}

void TDevice3D::UnregisterMaterial(const TDeviceMaterial& material) {
    std::replace_if(
        Materials.begin(), Materials.end(),
        [&material](const TDeviceMaterial* held) { return held == &material; }, nullptr);
}

void TDevice3D::DetachViewport(const TDeviceViewport& viewport) {
    std::erase(Viewports, &viewport);
    if (CurrentViewport == &viewport) {
        CurrentViewport = nullptr;
    }
}
