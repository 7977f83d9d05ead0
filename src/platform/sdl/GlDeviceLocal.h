#pragma once

// What only the GL device's own sources use: the viewport, material and light objects, the state
// records it compares and uploads, and the device itself. Everything else reaches them through
// the interfaces of platform/d3d/Device3D.h.

#include "platform/sdl/GlDevice.h"

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
    bool operator==(const TGlLightBlock&) const = default;
};

// Everything one draw depends on. Two draws with equal states give the same pixels as one
// draw of both, so consecutive draws of a scene with equal states are sent as one GL draw call.
// States compare member by member, never by their bytes.
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
    bool operator==(const TGlDrawState&) const = default;
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
    static constexpr uint32_t kCacheCapacity = 1 << 16;
    // The batch holds this many triangle indices before it is sent.
    static constexpr uint32_t kBatchCapacity = 1 << 16;

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
