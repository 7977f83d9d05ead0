#pragma once

#include "platform/Present.h"
#include "platform/d3d/Device3D.h"
#include "platform/sdl/GlShader.h"

#include "GlApi.h"
#include <SDL.h>

#include <memory>

class TGlDevice;

// The OpenGL 3.3 core implementation of the 3D device interface. It reproduces the DirectX 5
// fixed-function pipeline: row-vector matrices World * View * Projection followed by the
// viewport's clip-volume mapping, D3D depth (0 at the near plane, 1 at the far one), culling of
// triangles counter-clockwise on screen by default, per-vertex lighting and linear vertex fog
// (see GlShader.h). Every object here needs the GL context of its TGlDirect3D to be current.

// The window the GL context draws into and where the logical screen sits in it. Sizes are in
// real pixels (a high-DPI window has more pixels than its size in points).
struct TGlScreen {
    SDL_Window* Window = nullptr;
    int LogicalWidth = 640;
    int LogicalHeight = 480;
    int DrawableWidth = 0;
    int DrawableHeight = 0;
    TScreenArea Area;
    // Set by anything that changes GL state behind the device's back (clears, text).
    bool RasterDirty = true;
    // The device drawing into this screen, whose batch must be sent before anything else
    // touches the frame; null when there is none.
    class TGlDevice* Device = nullptr;

    // Sends what the device still holds back.
    void FlushDrawing() const;

    // Re-reads the window's pixel size and recomputes the logical area.
    void Refresh();
};

// A rectangle of GL window coordinates: origin at the bottom left, in pixels.
struct TGlRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TGlRect&) const = default;
};

// Logical pixels (x right, y down, from the logical screen's top left) to GL window pixels.
TGlRect LogicalToWindow(const TGlScreen& screen, double left, double top, double right,
                        double bottom);

// The context a device draws with: a hardware-accelerated one or a software one.
class TGlContext {
  public:
    ~TGlContext();
    TGlContext(const TGlContext&) = delete;
    TGlContext& operator=(const TGlContext&) = delete;

    // Null, with the reason in `error`, when this kind of context cannot be made on the window
    // (or a "hardware" request only finds a software rasteriser).
    static std::unique_ptr<TGlContext> Create(SDL_Window* window, TDeviceKind kind, bool vsync,
                                              const char*& error);
    void MakeCurrent() const;
    // Whether the swap was set to wait for the display (it may still not, in practice).
    bool SwapWaits() const { return SwapWaits_; }

  private:
    TGlContext(SDL_Window* window, SDL_GLContext context) : Window(window), Context(context) {}
    SDL_Window* Window;
    SDL_GLContext Context;
    bool SwapWaits_ = false;
};

// The Direct3D object on GL. It owns the context once a device has been created.
class TGlDirect3D final : public TDirect3D {
  public:
    TGlDirect3D(TGlScreen& screen, bool vsync) : Screen(screen), Vsync(vsync) {}
    ~TGlDirect3D() override;

    bool HasHardwareDevice() const override;
    std::unique_ptr<TDevice3D> CreateDevice(TDeviceKind kind) override;
    std::unique_ptr<TDeviceViewport> CreateViewport() override;
    std::unique_ptr<TDeviceMaterial> CreateMaterial() override;
    std::unique_ptr<TDeviceLight> CreateLight() override;

    bool HasContext() const { return Context != nullptr; }
    bool SwapWaits() const { return Context != nullptr && Context->SwapWaits(); }
    // The device created last, or null; not owned.
    TGlDevice* GetDevice() const { return Device; }
    void ForgetDevice(const TGlDevice* device);
    const char* LastError() const { return Error; }

  private:
    TGlScreen& Screen;
    bool Vsync;
    std::unique_ptr<TGlContext> Context;
    TGlDevice* Device = nullptr;
    const char* Error = "";
};

// The attributes every GL window of the program needs; call before SDL_CreateWindow.
void GlPrepareWindowAttributes();
// The SDL_CreateWindow flags of a GL window that can go full-screen on high-DPI displays.
uint32_t GlWindowFlags();
