#pragma once

#include "platform/Device3D.h"
#include "platform/Present.h"
#include "platform/sdl/GlShader.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <memory>

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
};

// Logical pixels (x right, y down, from the logical screen's top left) to GL window pixels.
TGlRect LogicalToWindow(const TGlScreen& screen, double left, double top, double right,
                        double bottom);

class TGlViewport final : public TDeviceViewport {
  public:
    explicit TGlViewport(TGlScreen& screen) : Screen(screen) {}
    void Clear(uint32_t count, const D3DRECT* rects, uint32_t flags) override;

  private:
    TGlScreen& Screen; // its raster goes stale when the viewport clears it
};

class TGlMaterial final : public TDeviceMaterial {
  public:
    TGlMaterial() = default;
};

class TGlLight final : public TDeviceLight {
  public:
    TGlLight() = default;
};

// The lights as the shader takes them, in eye space.
struct TGlLightBlock {
    GLint Count = 0;
    GLint Type[kGlMaxLights] = {};
    GLfloat Position[kGlMaxLights * 3] = {};
    GLfloat Direction[kGlMaxLights * 3] = {};
    GLfloat Color[kGlMaxLights * 3] = {};
    GLfloat Specular[kGlMaxLights * 3] = {};
    GLfloat Range[kGlMaxLights] = {};
    GLfloat Attenuation[kGlMaxLights * 3] = {};
    GLfloat Spot[kGlMaxLights * 3] = {};
};

// Everything one draw depends on. Two draws with equal states give the same pixels as one
// draw of both, so consecutive draws of a scene with equal states are sent as one GL draw call.
// Every member is four bytes wide: no padding, so states compare with memcmp.
struct TGlDrawState {
    GLint DepthTest = 0;
    GLint DepthWrite = 1;
    GLenum DepthFunc = GL_LEQUAL;
    uint32_t Cull = D3DCULL_CCW;
    GLint Flat = 0;
    TGlRect Viewport;
    D3DMATRIX WorldView{};
    D3DMATRIX ProjClip{};
    D3DMATERIAL Material{};
    TGlLightBlock Lights;
    uint32_t Ambient = 0;
    GLint SpecularEnable = 0;
    GLint FogEnable = 0;
    GLfloat FogStart = 0.0f;
    GLfloat FogEnd = 0.0f;
    uint32_t FogColor = 0;
};

class TGlDevice final : public TDevice3D {
  public:
    // Builds the programs and buffers; Ready() tells whether that worked.
    TGlDevice(TGlScreen& screen, class TGlDirect3D* owner);
    ~TGlDevice() override;

    bool Ready() const { return Ready_; }
    void EndScene() override;
    void DrawPrimitive(D3DPRIMITIVETYPE type, D3DVERTEXTYPE vertexType, const D3DVERTEX* vertices,
                       uint32_t count, uint32_t flags) override;

    // Sends the triangles still waiting in the batch. Anything that touches the frame outside
    // the device (clears, text, read-back, flip) calls it first.
    void Flush();
    // Deletes the GL objects while the context still exists; the device draws nothing after.
    void ReleaseGlObjects();

    // Vertex arrays are kept on the GL side by the caller's address and count, checked
    // against their contents on every draw; the store holds this many vertices.
    static constexpr uint32_t CacheCapacity = 1 << 16;
    // The batch holds this many triangle indices before it is sent.
    static constexpr uint32_t BatchCapacity = 1 << 16;

  private:
    struct TCachedArray {
        const D3DVERTEX* Source = nullptr;
        uint32_t Count = 0;
        uint32_t First = 0;
    };

    void BuildState(TGlDrawState& state) const;
    void BuildLights(TGlLightBlock& block, const D3DMATRIX& view) const;
    void ApplyState(const TGlDrawState& state);
    void ApplyRaster(const TGlDrawState& state);
    void UploadUniforms(const TGlLightingProgram& program, const TGlDrawState& state,
                        TGlDrawState& uploaded, bool& valid);
    // Where the array sits in the vertex store, uploading it when it is new or has changed.
    bool Cache(const D3DVERTEX* vertices, uint32_t count, uint32_t& first);
    void ResetCache();
    bool AppendTriangles(D3DPRIMITIVETYPE type, uint32_t first, uint32_t count);
    GLintptr StreamIndices(const GLuint* indices, uint32_t count);

    TGlScreen& Screen;
    class TGlDirect3D* Owner;
    TGlLightingProgram Gouraud;
    TGlLightingProgram Flat;
    TGlDrawState GouraudUploaded;
    TGlDrawState FlatUploaded;
    bool GouraudValid = false;
    bool FlatValid = false;
    TGlDrawState Raster; // only the raster members are meaningful
    GLuint VertexArray = 0;
    GLuint VertexBuffer = 0;
    GLuint IndexBuffer = 0;
    GLsizeiptr IndexOffset = 0;
    TGlDrawState Wanted;
    TGlDrawState BatchState;
    uint32_t IndexCount = 0;
    std::unique_ptr<GLuint[]> Indices;
    // The vertex store: a copy of what the GL buffer holds, and an open-addressed table of the
    // arrays in it (a power of two of slots, at most half full).
    std::unique_ptr<D3DVERTEX[]> Store;
    uint32_t StoreUsed = 0;
    std::unique_ptr<TCachedArray[]> Arrays;
    uint32_t ArrayCount = 0;
    bool Ready_ = false;
};

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
