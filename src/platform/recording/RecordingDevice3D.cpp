#include "platform/recording/RecordingDevice3D.h"

#include <algorithm>

const char* CallKindName(TCallKind kind) {
    switch (kind) {
    case callCreateDevice:
        return "CreateDevice";
    case callCreateViewport:
        return "CreateViewport";
    case callCreateMaterial:
        return "CreateMaterial";
    case callCreateLight:
        return "CreateLight";
    case callRelease:
        return "Release";
    case callSetTransform:
        return "SetTransform";
    case callBeginScene:
        return "BeginScene";
    case callEndScene:
        return "EndScene";
    case callDrawPrimitive:
        return "DrawPrimitive";
    case callSetRenderState:
        return "SetRenderState";
    case callSetLightState:
        return "SetLightState";
    case callAddViewport:
        return "AddViewport";
    case callSetCurrentViewport:
        return "SetCurrentViewport";
    case callAddLight:
        return "AddLight";
    case callClear:
        return "Clear";
    case callSetViewport2:
        return "SetViewport2";
    case callSetMaterial:
        return "SetMaterial";
    case callGetHandle:
        return "GetHandle";
    case callSetLight:
        return "SetLight";
    }
    return "?";
}

size_t TRecordingLog::CountOf(TCallKind kind) const {
    return static_cast<size_t>(std::count_if(Calls.begin(), Calls.end(),
                                             [kind](const auto& c) { return c.Kind == kind; }));
}

std::vector<TCallKind> TRecordingLog::Kinds() const {
    std::vector<TCallKind> kinds;
    kinds.reserve(Calls.size());
    for (const TRecordedCall& call : Calls) {
        kinds.push_back(call.Kind);
    }
    return kinds;
}

// ---- light ----

TRecordingLight::~TRecordingLight() {
    Log.Append(callRelease, this);
}

void TRecordingLight::SetLight(const D3DLIGHT2& desc) {
    TDeviceLight::SetLight(desc);
    TRecordedCall& call = Log.Append(callSetLight, this);
    call.Record = desc;
}

// ---- material ----

TRecordingMaterial::~TRecordingMaterial() {
    Log.Append(callRelease, this);
}

void TRecordingMaterial::SetMaterial(const D3DMATERIAL& material) {
    TDeviceMaterial::SetMaterial(material);
    TRecordedCall& call = Log.Append(callSetMaterial, this);
    call.Record = material;
}

D3DMATERIALHANDLE TRecordingMaterial::GetHandle(TDevice3D& device) {
    const D3DMATERIALHANDLE handle = TDeviceMaterial::GetHandle(device);
    TRecordedCall& call = Log.Append(callGetHandle, this, &device);
    call.Value = handle;
    return handle;
}

// ---- viewport ----

TRecordingViewport::~TRecordingViewport() {
    Log.Append(callRelease, this);
}

void TRecordingViewport::AddLight(TDeviceLight& light) {
    TDeviceViewport::AddLight(light);
    Log.Append(callAddLight, this, &light);
}

void TRecordingViewport::Clear(uint32_t count, const D3DRECT* rects, uint32_t flags) {
    TRecordedCall& call = Log.Append(callClear, this);
    call.Count = count;
    call.Flags = flags;
    if (count > 0 && rects) {
        call.Record = rects[0];
    }
}

void TRecordingViewport::SetViewport2(const D3DVIEWPORT2& data) {
    TDeviceViewport::SetViewport2(data);
    TRecordedCall& call = Log.Append(callSetViewport2, this);
    call.Record = data;
}

// ---- device ----

TRecordingDevice3D::~TRecordingDevice3D() {
    Log.Append(callRelease, this);
}

void TRecordingDevice3D::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& matrix) {
    TDevice3D::SetTransform(state, matrix);
    TRecordedCall& call = Log.Append(callSetTransform, this);
    call.Type = state;
    call.Record = matrix;
}

void TRecordingDevice3D::BeginScene() {
    TDevice3D::BeginScene();
    Log.Append(callBeginScene, this);
}

void TRecordingDevice3D::EndScene() {
    TDevice3D::EndScene();
    Log.Append(callEndScene, this);
}

void TRecordingDevice3D::DrawPrimitive(D3DPRIMITIVETYPE type, D3DVERTEXTYPE vertexType,
                                       const D3DVERTEX* vertices, uint32_t count, uint32_t flags) {
    TRecordedCall& call = Log.Append(callDrawPrimitive, this);
    call.Type = type;
    call.Value = vertexType;
    call.Vertices = vertices;
    call.Count = count;
    call.Flags = flags;
}

void TRecordingDevice3D::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    TDevice3D::SetRenderState(state, value);
    TRecordedCall& call = Log.Append(callSetRenderState, this);
    call.Type = state;
    call.Value = value;
}

void TRecordingDevice3D::SetLightState(D3DLIGHTSTATETYPE state, uint32_t value) {
    TDevice3D::SetLightState(state, value);
    TRecordedCall& call = Log.Append(callSetLightState, this);
    call.Type = state;
    call.Value = value;
}

void TRecordingDevice3D::AddViewport(TDeviceViewport& viewport) {
    TDevice3D::AddViewport(viewport);
    Log.Append(callAddViewport, this, &viewport);
}

void TRecordingDevice3D::SetCurrentViewport(TDeviceViewport& viewport) {
    TDevice3D::SetCurrentViewport(viewport);
    Log.Append(callSetCurrentViewport, this, &viewport);
}

// ---- factory ----

std::unique_ptr<TDevice3D> TRecordingDirect3D::CreateDevice(TDeviceKind kind) {
    std::unique_ptr<TDevice3D> device;
    if (kind <= devRGB && !RefuseDevice[kind]) {
        device = std::make_unique<TRecordingDevice3D>(Log);
    }
    TRecordedCall& call = Log.Append(callCreateDevice, this, device.get());
    call.Type = kind;
    return device;
}

std::unique_ptr<TDeviceViewport> TRecordingDirect3D::CreateViewport() {
    auto viewport = std::make_unique<TRecordingViewport>(Log);
    Log.Append(callCreateViewport, this, viewport.get());
    return viewport;
}

std::unique_ptr<TDeviceMaterial> TRecordingDirect3D::CreateMaterial() {
    auto material = std::make_unique<TRecordingMaterial>(Log);
    Log.Append(callCreateMaterial, this, material.get());
    return material;
}

std::unique_ptr<TDeviceLight> TRecordingDirect3D::CreateLight() {
    std::unique_ptr<TDeviceLight> light;
    if (!RefuseLights) {
        light = std::make_unique<TRecordingLight>(Log);
    }
    Log.Append(callCreateLight, this, light.get());
    return light;
}
