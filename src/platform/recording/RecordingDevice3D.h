#pragma once

#include "platform/d3d/Device3D.h"

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

// A device that draws nothing and writes every call, with its arguments, into one ordered log
// shared by the factory and every object it made. Tests read the log to check what was drawn
// and in which order (BeginScene ... SetMaterial ... DrawPrimitive ... EndScene).
//
// The log is reserved up front and Clear keeps its capacity, so once it has held a frame,
// recording the next one allocates nothing. The log must outlive every object that writes to it.

enum TCallKind : uint8_t {
    // factory
    callCreateDevice, // Type = TDeviceKind, Target = the device or null
    callCreateViewport,
    callCreateMaterial,
    callCreateLight, // Target = the object made, or null
    // any object, from its destructor
    callRelease,
    // device
    callSetTransform, // Type = D3DTRANSFORMSTATETYPE, Record = D3DMATRIX
    callBeginScene,
    callEndScene,
    callDrawPrimitive,  // Type = D3DPRIMITIVETYPE, Value = D3DVERTEXTYPE, Vertices, Count, Flags
    callSetRenderState, // Type = D3DRENDERSTATETYPE, Value
    callSetLightState,  // Type = D3DLIGHTSTATETYPE, Value
    callAddViewport,    // Target = the viewport
    callSetCurrentViewport,
    // viewport
    callAddLight,     // Target = the light
    callClear,        // Count = number of rectangles, Flags, Record = the first D3DRECT
    callSetViewport2, // Record = D3DVIEWPORT2
    // material
    callSetMaterial, // Record = D3DMATERIAL
    callGetHandle,   // Target = the device, Value = the handle given
    // light
    callSetLight, // Record = D3DLIGHT2
};

const char* CallKindName(TCallKind kind);

struct TRecordedCall {
    TCallKind Kind = callRelease;
    const void* Object = nullptr; // the object called (factory, device, viewport, material, light)
    const void* Target = nullptr; // the object passed or made, see TCallKind
    uint32_t Type = 0;
    uint32_t Value = 0;
    const D3DVERTEX* Vertices = nullptr;
    uint32_t Count = 0;
    uint32_t Flags = 0;
    std::variant<std::monostate, D3DMATRIX, D3DMATERIAL, D3DLIGHT2, D3DVIEWPORT2, D3DRECT> Record;

    const D3DMATRIX& Matrix() const { return std::get<D3DMATRIX>(Record); }
    const D3DMATERIAL& Material() const { return std::get<D3DMATERIAL>(Record); }
    const D3DLIGHT2& Light() const { return std::get<D3DLIGHT2>(Record); }
    const D3DVIEWPORT2& Viewport() const { return std::get<D3DVIEWPORT2>(Record); }
    const D3DRECT& Rect() const { return std::get<D3DRECT>(Record); }
};

class TRecordingLog {
  public:
    static constexpr size_t kDefaultCapacity = 4096;

    explicit TRecordingLog(size_t capacity = kDefaultCapacity) { Calls.reserve(capacity); }

    void Add(const TRecordedCall& call) { Calls.push_back(call); }
    // Appends a call of `kind` on `object` and returns it for its arguments to be filled in.
    TRecordedCall& Append(TCallKind kind, const void* object, const void* target = nullptr) {
        TRecordedCall& call = Calls.emplace_back();
        call.Kind = kind;
        call.Object = object;
        call.Target = target;
        return call;
    }
    // Forgets the calls and keeps the storage.
    void Clear() { Calls.clear(); }

    const std::vector<TRecordedCall>& GetCalls() const { return Calls; }
    size_t Size() const { return Calls.size(); }
    const TRecordedCall& operator[](size_t i) const { return Calls[i]; }
    size_t Capacity() const { return Calls.capacity(); }
    size_t CountOf(TCallKind kind) const;
    // The kinds of all calls, in order: the shape of a sequence at a glance.
    std::vector<TCallKind> Kinds() const;

  private:
    std::vector<TRecordedCall> Calls;
};

class TRecordingLight final : public TDeviceLight {
  public:
    explicit TRecordingLight(TRecordingLog& log) : Log(log) {}
    ~TRecordingLight() override;
    void SetLight(const D3DLIGHT2& desc) override;

  private:
    TRecordingLog& Log;
};

class TRecordingMaterial final : public TDeviceMaterial {
  public:
    explicit TRecordingMaterial(TRecordingLog& log) : Log(log) {}
    ~TRecordingMaterial() override;
    void SetMaterial(const D3DMATERIAL& material) override;
    D3DMATERIALHANDLE GetHandle(TDevice3D& device) override;

  private:
    TRecordingLog& Log;
};

class TRecordingViewport final : public TDeviceViewport {
  public:
    explicit TRecordingViewport(TRecordingLog& log) : Log(log) {}
    ~TRecordingViewport() override;
    void AddLight(TDeviceLight& light) override;
    void Clear(uint32_t count, const D3DRECT* rects, uint32_t flags) override;
    void SetViewport2(const D3DVIEWPORT2& data) override;

  private:
    TRecordingLog& Log;
};

class TRecordingDevice3D final : public TDevice3D {
  public:
    explicit TRecordingDevice3D(TRecordingLog& log) : Log(log) {}
    ~TRecordingDevice3D() override;
    void SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& matrix) override;
    void BeginScene() override;
    void EndScene() override;
    void DrawPrimitive(D3DPRIMITIVETYPE type, D3DVERTEXTYPE vertexType, const D3DVERTEX* vertices,
                       uint32_t count, uint32_t flags) override;
    void SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override;
    void SetLightState(D3DLIGHTSTATETYPE state, uint32_t value) override;
    void AddViewport(TDeviceViewport& viewport) override;
    void SetCurrentViewport(TDeviceViewport& viewport) override;

  private:
    TRecordingLog& Log;
};

// The factory. Tests can make it refuse kinds of devices, or lights, to drive the fallbacks.
class TRecordingDirect3D final : public TDirect3D {
  public:
    explicit TRecordingDirect3D(TRecordingLog& log) : Log(log) {}

    bool HasHardwareDevice() const override { return HardwarePresent; }
    std::unique_ptr<TDevice3D> CreateDevice(TDeviceKind kind) override;
    std::unique_ptr<TDeviceViewport> CreateViewport() override;
    std::unique_ptr<TDeviceMaterial> CreateMaterial() override;
    std::unique_ptr<TDeviceLight> CreateLight() override;

    bool HardwarePresent = true;
    bool RefuseDevice[3] = {false, false, false}; // indexed by TDeviceKind
    bool RefuseLights = false;

  private:
    TRecordingLog& Log;
};
