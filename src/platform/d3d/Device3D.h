#pragma once

#include "platform/d3d/D3DTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The 3D device interface: the Direct3D Immediate Mode objects the scene draws through, with
// the operations and arguments of their DirectX 5 counterparts. Two implementations exist: the
// OpenGL one that puts pixels on the screen and the recording one that tests read.
//
// Contract, for every implementation:
// - Ownership is RAII. TDirect3D creates the device, viewports, materials and lights and hands
//   each to its caller in a unique_ptr; destroying the object is its release. Nothing here owns
//   anything it is given by reference: a viewport does not own its lights, a device does not own
//   its viewports. Destroying any object detaches it from everything it was linked to (a light
//   leaves its viewport, a viewport leaves its device, a material loses its handle), so objects
//   may be destroyed in any order without dangling links.
// - Every record passed by reference is copied before the call returns. DrawPrimitive is the
//   exception: it reads `count` vertices from the caller's array during the call only (the
//   OpenGL device uploads them per call), so static arrays can be handed over as they are.
// - Only D3DVT_VERTEX is drawn: untransformed, unlit vertices, lit by the device with the lights
//   of the current viewport and the material selected by SetLightState(D3DLIGHTSTATE_MATERIAL).
//   That state holds a handle from TDeviceMaterial::GetHandle; each primitive is coloured by the
//   contents of that material at the moment of the DrawPrimitive call, so changing the contents
//   with SetMaterial recolours the primitives that follow without selecting it again.
// - Lights belong to the viewport they were added to; a light lights the device's primitives
//   while that viewport is current and its description has D3DLIGHT_ACTIVE.
// - State not yet set has its DirectX 5 default (see the base class constructors).
// - Calls report nothing: like the original program, callers ignore results. Creation is the
//   one place a failure shows, as a null pointer.
// - Single-threaded: all objects are used on the frame loop's thread only.

class TDevice3D;
class TDeviceViewport;

class TDeviceLight {
  public:
    virtual ~TDeviceLight();
    TDeviceLight(const TDeviceLight&) = delete;
    TDeviceLight& operator=(const TDeviceLight&) = delete;

    virtual void SetLight(const D3DLIGHT2& desc);

    const D3DLIGHT2& GetLight() const { return Desc; }
    // The viewport this light was added to, or null.
    TDeviceViewport* GetViewport() const { return Owner; }

  protected:
    TDeviceLight() = default;

  private:
    friend class TDeviceViewport;
    D3DLIGHT2 Desc{};
    TDeviceViewport* Owner = nullptr;
};

class TDeviceMaterial {
  public:
    virtual ~TDeviceMaterial();
    TDeviceMaterial(const TDeviceMaterial&) = delete;
    TDeviceMaterial& operator=(const TDeviceMaterial&) = delete;

    virtual void SetMaterial(const D3DMATERIAL& material);
    // The handle that selects this material on `device` (never 0). Asking the same device
    // again gives the same handle; asking another device moves the material to that one.
    virtual D3DMATERIALHANDLE GetHandle(TDevice3D& device);

    const D3DMATERIAL& GetMaterial() const { return Contents; }

  protected:
    TDeviceMaterial() = default;

  private:
    friend class TDevice3D;
    D3DMATERIAL Contents{};
    TDevice3D* HandleDevice = nullptr;
    D3DMATERIALHANDLE Handle = 0;
};

class TDeviceViewport {
  public:
    virtual ~TDeviceViewport();
    TDeviceViewport(const TDeviceViewport&) = delete;
    TDeviceViewport& operator=(const TDeviceViewport&) = delete;

    // Adds a light (not owned). A light belongs to one viewport: adding it here removes it from
    // any other; adding it twice keeps one entry.
    virtual void AddLight(TDeviceLight& light);
    // Clears `count` rectangles (pixels of the viewport) of the buffers named by `flags`
    // (D3DCLEAR_TARGET to black, D3DCLEAR_ZBUFFER to the far plane).
    virtual void Clear(uint32_t count, const D3DRECT* rects, uint32_t flags) = 0;
    virtual void SetViewport2(const D3DVIEWPORT2& data);

    const D3DVIEWPORT2& GetViewport2() const { return Data; }
    const std::vector<TDeviceLight*>& GetLights() const { return Lights; }
    TDevice3D* GetDevice() const { return Device; }

  protected:
    TDeviceViewport() = default;

  private:
    friend class TDevice3D;
    friend class TDeviceLight;
    void DetachLight(const TDeviceLight& light);
    std::vector<TDeviceLight*> Lights;
    D3DVIEWPORT2 Data{};
    TDevice3D* Device = nullptr;
};

class TDevice3D {
  public:
    virtual ~TDevice3D();
    TDevice3D(const TDevice3D&) = delete;
    TDevice3D& operator=(const TDevice3D&) = delete;

    virtual void SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& matrix);
    virtual void BeginScene();
    virtual void EndScene();
    // Draws `count` vertices of `vertices` as `type`; `vertexType` must be D3DVT_VERTEX (others
    // are ignored). The array is read during the call only.
    virtual void DrawPrimitive(D3DPRIMITIVETYPE type, D3DVERTEXTYPE vertexType,
                               const D3DVERTEX* vertices, uint32_t count, uint32_t flags) = 0;
    virtual void SetRenderState(D3DRENDERSTATETYPE state, uint32_t value);
    virtual void SetLightState(D3DLIGHTSTATETYPE state, uint32_t value);
    // Viewports are not owned; adding one twice keeps one entry.
    virtual void AddViewport(TDeviceViewport& viewport);
    // The viewport must have been added; otherwise the call is ignored.
    virtual void SetCurrentViewport(TDeviceViewport& viewport);

    const D3DMATRIX& GetTransform(D3DTRANSFORMSTATETYPE state) const;
    // Unknown states read 0.
    uint32_t GetRenderState(D3DRENDERSTATETYPE state) const;
    uint32_t GetLightState(D3DLIGHTSTATETYPE state) const;
    TDeviceViewport* GetCurrentViewport() const { return CurrentViewport; }
    // The material selected by D3DLIGHTSTATE_MATERIAL, or null when the handle is 0 or stale.
    TDeviceMaterial* GetCurrentMaterial() const;
    bool IsInScene() const { return InScene; }

    static constexpr uint32_t kRenderStateCount = 64;
    static constexpr uint32_t kLightStateCount = 8;

  protected:
    TDevice3D();

  private:
    friend class TDeviceMaterial;
    friend class TDeviceViewport;
    D3DMATERIALHANDLE RegisterMaterial(TDeviceMaterial& material);
    void UnregisterMaterial(const TDeviceMaterial& material);
    void DetachViewport(const TDeviceViewport& viewport);

    std::array<D3DMATRIX, 3> Transforms{};
    std::array<uint32_t, kRenderStateCount> RenderStates{};
    std::array<uint32_t, kLightStateCount> LightStates{};
    std::vector<TDeviceViewport*> Viewports;
    TDeviceViewport* CurrentViewport = nullptr;
    // Handle h selects Materials[h - 1]; a released material leaves a null slot so that its
    // handle never selects another material.
    std::vector<TDeviceMaterial*> Materials;
    bool InScene = false;
};

// The devices Direct3D offers, in the order the set-up tries them.
enum TDeviceKind : uint32_t {
    devHardware = 0, // a hardware-accelerated device
    devMMX = 1,      // the fast software rasteriser
    devRGB = 2,      // the reference software rasteriser
};

// The factory, standing in for the Direct3D object itself.
class TDirect3D {
  public:
    virtual ~TDirect3D() = default;

    // Whether a hardware-accelerated device exists at all.
    virtual bool HasHardwareDevice() const = 0;
    // Null when this kind of device cannot be created here.
    virtual std::unique_ptr<TDevice3D> CreateDevice(TDeviceKind kind) = 0;
    virtual std::unique_ptr<TDeviceViewport> CreateViewport() = 0;
    virtual std::unique_ptr<TDeviceMaterial> CreateMaterial() = 0;
    virtual std::unique_ptr<TDeviceLight> CreateLight() = 0;
};
