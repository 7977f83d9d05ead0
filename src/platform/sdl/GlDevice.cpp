#include "platform/sdl/GlDevice.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// The streaming vertex buffer: large enough for many frames of the scene before it is orphaned.
constexpr GLsizeiptr kStreamBytes = GLsizeiptr{1} << 21;
constexpr GLsizeiptr kVertexBytes = sizeof(D3DVERTEX);
// Slots of the table of cached vertex arrays.
constexpr uint32_t kArraySlots = 1024;

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

// The mapping the viewport's clip volume adds after the projection, as a row-vector matrix:
// the window (ClipX, ClipY)-(ClipX + ClipWidth, ClipY - ClipHeight) onto -1..1, MinZ..MaxZ onto
// 0..1.
D3DMATRIX ClipVolumeMatrix(const D3DVIEWPORT2& vp) {
    D3DMATRIX c{};
    const float width = vp.dvClipWidth != 0.0f ? vp.dvClipWidth : 2.0f;
    const float height = vp.dvClipHeight != 0.0f ? vp.dvClipHeight : 2.0f;
    const float depth = vp.dvMaxZ != vp.dvMinZ ? vp.dvMaxZ - vp.dvMinZ : 1.0f;
    c._11 = 2.0f / width;
    c._22 = 2.0f / height;
    c._33 = 1.0f / depth;
    c._41 = -2.0f * vp.dvClipX / width - 1.0f;
    c._42 = -2.0f * vp.dvClipY / height + 1.0f;
    c._43 = -vp.dvMinZ / depth;
    c._44 = 1.0f;
    return c;
}

// Normals go through the inverse transpose of the upper 3x3 (row vectors: n' = n * inv(M)^T).
// The result is row-major, ready for an upload with transpose = GL_TRUE.
void NormalMatrix(const D3DMATRIX& m, GLfloat out[9]) {
    const float a = m._11, b = m._12, c = m._13;
    const float d = m._21, e = m._22, f = m._23;
    const float g = m._31, h = m._32, i = m._33;
    const float co00 = e * i - f * h, co01 = -(d * i - f * g), co02 = d * h - e * g;
    const float co10 = -(b * i - c * h), co11 = a * i - c * g, co12 = -(a * h - b * g);
    const float co20 = b * f - c * e, co21 = -(a * f - c * d), co22 = a * e - b * d;
    const float det = a * co00 + b * co01 + c * co02;
    const float scale = std::max({std::abs(a), std::abs(b), std::abs(c), std::abs(d), std::abs(e),
                                  std::abs(f), std::abs(g), std::abs(h), std::abs(i)});
    if (std::abs(det) <= 1e-6f * scale * scale * scale) {
        // A flattening matrix has no inverse; its own 3x3 still gives the normals a direction,
        // which the shader renormalises.
        const float own[9] = {a, b, c, d, e, f, g, h, i};
        std::copy(own, own + 9, out);
        return;
    }
    // inv(M) = adj(M) / det with adj = transpose(cofactors); its transpose is cofactors / det.
    const float r[9] = {co00, co01, co02, co10, co11, co12, co20, co21, co22};
    for (int k = 0; k < 9; ++k) {
        out[k] = r[k] / det;
    }
}

void TransformPoint(const D3DVECTOR& p, const D3DMATRIX& m, GLfloat out[3]) {
    out[0] = p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41;
    out[1] = p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42;
    out[2] = p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43;
}

// Directions are normalised by the pipeline; a zero direction lights nothing.
void TransformDirection(const D3DVECTOR& d, const D3DMATRIX& m, GLfloat out[3]) {
    const float x = d.x * m._11 + d.y * m._21 + d.z * m._31;
    const float y = d.x * m._12 + d.y * m._22 + d.z * m._32;
    const float z = d.x * m._13 + d.y * m._23 + d.z * m._33;
    const float length = std::sqrt(x * x + y * y + z * z);
    const float s = length > 0.0f ? 1.0f / length : 0.0f;
    out[0] = x * s;
    out[1] = y * s;
    out[2] = z * s;
}

void ColorOf(uint32_t color, GLfloat out[3]) {
    out[0] = static_cast<float>((color >> 16) & 0xFF) / 255.0f;
    out[1] = static_cast<float>((color >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<float>(color & 0xFF) / 255.0f;
}

GLenum DepthFunction(uint32_t func) {
    switch (func) {
    case D3DCMP_NEVER:
        return GL_NEVER;
    case D3DCMP_LESS:
        return GL_LESS;
    case D3DCMP_EQUAL:
        return GL_EQUAL;
    case D3DCMP_GREATER:
        return GL_GREATER;
    case D3DCMP_NOTEQUAL:
        return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL:
        return GL_GEQUAL;
    case D3DCMP_ALWAYS:
        return GL_ALWAYS;
    default:
        return GL_LEQUAL;
    }
}

bool PrimitiveMode(D3DPRIMITIVETYPE type, GLenum& mode) {
    switch (type) {
    case D3DPT_POINTLIST:
        mode = GL_POINTS;
        return true;
    case D3DPT_LINELIST:
        mode = GL_LINES;
        return true;
    case D3DPT_LINESTRIP:
        mode = GL_LINE_STRIP;
        return true;
    case D3DPT_TRIANGLELIST:
        mode = GL_TRIANGLES;
        return true;
    case D3DPT_TRIANGLESTRIP:
        mode = GL_TRIANGLE_STRIP;
        return true;
    case D3DPT_TRIANGLEFAN:
        mode = GL_TRIANGLE_FAN;
        return true;
    }
    return false;
}

bool IsSoftwareRenderer(const char* renderer) {
    if (renderer == nullptr) {
        return false;
    }
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR", "swrast"}) {
        if (std::strstr(renderer, name) != nullptr) {
            return true;
        }
    }
    return false;
}

} // namespace

// ---- the screen ----

void TGlScreen::Refresh() {
    int width = 0;
    int height = 0;
    if (Window != nullptr) {
        SDL_GL_GetDrawableSize(Window, &width, &height);
    }
    if (width != DrawableWidth || height != DrawableHeight) {
        RasterDirty = true;
    }
    DrawableWidth = width;
    DrawableHeight = height;
    Area = FitScreenArea(width, height, LogicalWidth, LogicalHeight);
}

TGlRect LogicalToWindow(const TGlScreen& screen, double left, double top, double right,
                        double bottom) {
    const TScreenArea& a = screen.Area;
    const auto x = [&](double v) { return static_cast<int>(std::lround(a.X + v * a.Scale)); };
    const auto y = [&](double v) { return static_cast<int>(std::lround(a.Y + v * a.Scale)); };
    TGlRect rect;
    rect.X = x(left);
    rect.Width = std::max(0, x(right) - rect.X);
    rect.Y = screen.DrawableHeight - y(bottom);
    rect.Height = std::max(0, y(bottom) - y(top));
    return rect;
}

// ---- viewport ----

void TGlViewport::Clear(uint32_t count, const D3DRECT* rects, uint32_t flags) {
    if (rects == nullptr || (flags & (D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER)) == 0) {
        return;
    }
    Screen.FlushDrawing();
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glEnable(GL_SCISSOR_TEST);
    for (uint32_t i = 0; i < count; ++i) {
        const D3DRECT& r = rects[i];
        const TGlRect window = LogicalToWindow(Screen, r.x1, r.y1, r.x2, r.y2);
        glScissor(window.X, window.Y, window.Width, window.Height);
        glClear(mask);
    }
    glDisable(GL_SCISSOR_TEST);
    Screen.RasterDirty = true;
}

void TGlScreen::FlushDrawing() const {
    if (Device != nullptr) {
        Device->Flush();
    }
}

// ---- device ----

TGlDevice::TGlDevice(TGlScreen& screen, TGlDirect3D* owner)
    : Screen(screen), Owner(owner), Indices(new GLuint[BatchCapacity]),
      Store(new D3DVERTEX[CacheCapacity]), Arrays(new TCachedArray[kArraySlots]) {
    if (!Gouraud.Build(false) || !Flat.Build(true)) {
        return;
    }
    glGenVertexArrays(1, &VertexArray);
    glGenBuffers(1, &VertexBuffer);
    glGenBuffers(1, &IndexBuffer);
    glBindVertexArray(VertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, VertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr{CacheCapacity} * kVertexBytes, nullptr,
                 GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, IndexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, kStreamBytes, nullptr, GL_STREAM_DRAW);
    glEnableVertexAttribArray(kGlAttribPosition);
    glVertexAttribPointer(kGlAttribPosition, 3, GL_FLOAT, GL_FALSE, kVertexBytes,
                          reinterpret_cast<const void*>(offsetof(D3DVERTEX, x)));
    glEnableVertexAttribArray(kGlAttribNormal);
    glVertexAttribPointer(kGlAttribNormal, 3, GL_FLOAT, GL_FALSE, kVertexBytes,
                          reinterpret_cast<const void*>(offsetof(D3DVERTEX, nx)));
    // D3D takes a flat-shaded triangle's colour from its first vertex.
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    Ready_ = glGetError() == GL_NO_ERROR;
    if (Ready_) {
        Screen.Device = this;
    }
}

TGlDevice::~TGlDevice() {
    Flush();
    ReleaseGlObjects();
    if (Owner != nullptr) {
        Owner->ForgetDevice(this);
    }
}

void TGlDevice::ReleaseGlObjects() {
    IndexCount = 0;
    ResetCache();
    if (Screen.Device == this) {
        Screen.Device = nullptr;
    }
    if (IndexBuffer != 0) {
        glDeleteBuffers(1, &IndexBuffer);
    }
    IndexBuffer = 0;
    if (VertexBuffer != 0) {
        glDeleteBuffers(1, &VertexBuffer);
    }
    if (VertexArray != 0) {
        glDeleteVertexArrays(1, &VertexArray);
    }
    VertexBuffer = 0;
    VertexArray = 0;
    Gouraud.Release();
    Flat.Release();
    Ready_ = false;
}

void TGlDevice::BuildLights(TGlLightBlock& block, const D3DMATRIX& view) const {
    for (const TDeviceLight* light : GetCurrentViewport()->GetLights()) {
        const D3DLIGHT2& d = light->GetLight();
        if ((d.dwFlags & D3DLIGHT_ACTIVE) == 0 || block.Count == kGlMaxLights) {
            continue;
        }
        if (d.dltType != D3DLIGHT_POINT && d.dltType != D3DLIGHT_SPOT &&
            d.dltType != D3DLIGHT_DIRECTIONAL) {
            continue;
        }
        const int i = block.Count++;
        block.Type[i] = d.dltType == D3DLIGHT_POINT  ? kGlLightPoint
                        : d.dltType == D3DLIGHT_SPOT ? kGlLightSpot
                                                     : kGlLightDirectional;
        TransformPoint(d.dvPosition, view, &block.Position[3 * i]);
        TransformDirection(d.dvDirection, view, &block.Direction[3 * i]);
        const float specularScale = (d.dwFlags & D3DLIGHT_NO_SPECULAR) ? 0.0f : 1.0f;
        const float color[3] = {d.dcvColor.r, d.dcvColor.g, d.dcvColor.b};
        for (int k = 0; k < 3; ++k) {
            block.Color[3 * i + k] = color[k];
            block.Specular[3 * i + k] = color[k] * specularScale;
        }
        block.Range[i] = d.dvRange;
        block.Attenuation[3 * i + 0] = d.dvAttenuation0;
        block.Attenuation[3 * i + 1] = d.dvAttenuation1;
        block.Attenuation[3 * i + 2] = d.dvAttenuation2;
        if (d.dltType == D3DLIGHT_SPOT) {
            block.Spot[3 * i + 0] = d.dvFalloff;
            block.Spot[3 * i + 1] = std::cos(d.dvTheta * 0.5f);
            block.Spot[3 * i + 2] = std::cos(d.dvPhi * 0.5f);
        }
    }
}

void TGlDevice::BuildState(TGlDrawState& s) const {
    s = TGlDrawState{};
    s.DepthTest = GetRenderState(D3DRENDERSTATE_ZENABLE) != 0;
    s.DepthWrite = GetRenderState(D3DRENDERSTATE_ZWRITEENABLE) != 0;
    s.DepthFunc = DepthFunction(GetRenderState(D3DRENDERSTATE_ZFUNC));
    s.Cull = GetRenderState(D3DRENDERSTATE_CULLMODE);
    s.Flat = GetRenderState(D3DRENDERSTATE_SHADEMODE) == D3DSHADE_FLAT;
    const D3DVIEWPORT2& vp = GetCurrentViewport()->GetViewport2();
    s.Viewport = LogicalToWindow(Screen, vp.dwX, vp.dwY, static_cast<double>(vp.dwX) + vp.dwWidth,
                                 static_cast<double>(vp.dwY) + vp.dwHeight);
    const D3DMATRIX& view = GetTransform(D3DTRANSFORMSTATE_VIEW);
    s.WorldView = Multiply(GetTransform(D3DTRANSFORMSTATE_WORLD), view);
    s.ProjClip = Multiply(GetTransform(D3DTRANSFORMSTATE_PROJECTION), ClipVolumeMatrix(vp));
    // With no material selected everything lit comes out black, as on a device without one.
    if (const TDeviceMaterial* current = GetCurrentMaterial()) {
        s.Material = current->GetMaterial();
    }
    BuildLights(s.Lights, view);
    s.Ambient = GetLightState(D3DLIGHTSTATE_AMBIENT);
    s.SpecularEnable = GetRenderState(D3DRENDERSTATE_SPECULARENABLE) != 0;
    // Vertex fog: the render state switches fog on, the light state's linear mode computes it.
    s.FogEnable = GetRenderState(D3DRENDERSTATE_FOGENABLE) != 0 &&
                  GetLightState(D3DLIGHTSTATE_FOGMODE) == D3DFOG_LINEAR;
    if (s.FogEnable) {
        s.FogStart = D3DStateToFloat(GetLightState(D3DLIGHTSTATE_FOGSTART));
        s.FogEnd = D3DStateToFloat(GetLightState(D3DLIGHTSTATE_FOGEND));
        s.FogColor = GetRenderState(D3DRENDERSTATE_FOGCOLOR);
    }
}

void TGlDevice::ApplyRaster(const TGlDrawState& wanted) {
    const bool all = Screen.RasterDirty;
    if (all || wanted.DepthTest != Raster.DepthTest) {
        (wanted.DepthTest ? glEnable : glDisable)(GL_DEPTH_TEST);
    }
    if (all || wanted.DepthWrite != Raster.DepthWrite) {
        glDepthMask(wanted.DepthWrite ? GL_TRUE : GL_FALSE);
    }
    if (all || wanted.DepthFunc != Raster.DepthFunc) {
        glDepthFunc(wanted.DepthFunc);
    }
    if (all || wanted.Cull != Raster.Cull) {
        // D3D culls by the winding seen on screen, as GL does in window coordinates:
        // D3DCULL_CCW keeps clockwise triangles.
        if (wanted.Cull == D3DCULL_NONE) {
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
            glCullFace(GL_BACK);
            glFrontFace(wanted.Cull == D3DCULL_CW ? GL_CCW : GL_CW);
        }
    }
    const TGlRect& v = wanted.Viewport;
    const TGlRect& r = Raster.Viewport;
    if (all || v.X != r.X || v.Y != r.Y || v.Width != r.Width || v.Height != r.Height) {
        glViewport(v.X, v.Y, v.Width, v.Height);
    }
    if (all) {
        glDisable(GL_BLEND);
        glDisable(GL_SCISSOR_TEST);
        glBindVertexArray(VertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, VertexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, IndexBuffer);
        // Another program (the text) may have been current.
        GouraudValid = false;
        FlatValid = false;
    }
    Raster.DepthTest = wanted.DepthTest;
    Raster.DepthWrite = wanted.DepthWrite;
    Raster.DepthFunc = wanted.DepthFunc;
    Raster.Cull = wanted.Cull;
    Raster.Viewport = wanted.Viewport;
    Screen.RasterDirty = false;
}

void TGlDevice::UploadUniforms(const TGlLightingProgram& program, const TGlDrawState& s,
                               TGlDrawState& up, bool& valid) {
    const TGlLightingUniforms& u = program.Uniforms();
    const auto changed = [&](const auto& now, const auto& before) {
        return !valid || std::memcmp(&now, &before, sizeof now) != 0;
    };
    if (changed(s.WorldView, up.WorldView)) {
        GLfloat normal[9];
        NormalMatrix(s.WorldView, normal);
        glUniformMatrix4fv(u.WorldView, 1, GL_TRUE, &s.WorldView.m[0][0]);
        glUniformMatrix3fv(u.NormalMatrix, 1, GL_TRUE, normal);
    }
    if (changed(s.ProjClip, up.ProjClip)) {
        glUniformMatrix4fv(u.ProjClip, 1, GL_TRUE, &s.ProjClip.m[0][0]);
    }
    if (changed(s.Material, up.Material)) {
        const D3DMATERIAL& m = s.Material;
        glUniform4f(u.MatDiffuse, m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a);
        glUniform3f(u.MatAmbient, m.ambient.r, m.ambient.g, m.ambient.b);
        glUniform3f(u.MatSpecular, m.specular.r, m.specular.g, m.specular.b);
        glUniform3f(u.MatEmissive, m.emissive.r, m.emissive.g, m.emissive.b);
        glUniform1f(u.MatPower, m.power);
    }
    if (changed(s.Lights, up.Lights)) {
        const TGlLightBlock& b = s.Lights;
        const GLsizei n = std::max<GLint>(b.Count, 1);
        glUniform1i(u.LightCount, b.Count);
        glUniform1iv(u.LightType, n, b.Type);
        glUniform3fv(u.LightPosition, n, b.Position);
        glUniform3fv(u.LightDirection, n, b.Direction);
        glUniform3fv(u.LightColor, n, b.Color);
        glUniform3fv(u.LightSpecular, n, b.Specular);
        glUniform1fv(u.LightRange, n, b.Range);
        glUniform3fv(u.LightAttenuation, n, b.Attenuation);
        glUniform3fv(u.LightSpot, n, b.Spot);
    }
    if (changed(s.Ambient, up.Ambient)) {
        GLfloat c[3];
        ColorOf(s.Ambient, c);
        glUniform3fv(u.Ambient, 1, c);
    }
    if (changed(s.SpecularEnable, up.SpecularEnable)) {
        glUniform1i(u.SpecularEnable, s.SpecularEnable);
    }
    if (!valid || s.FogEnable != up.FogEnable || s.FogStart != up.FogStart ||
        s.FogEnd != up.FogEnd || s.FogColor != up.FogColor) {
        GLfloat c[3];
        ColorOf(s.FogColor, c);
        glUniform1i(u.FogEnable, s.FogEnable);
        glUniform1f(u.FogStart, s.FogStart);
        glUniform1f(u.FogEnd, s.FogEnd);
        glUniform3fv(u.FogColor, 1, c);
    }
    up = s;
    valid = true;
}

void TGlDevice::ApplyState(const TGlDrawState& state) {
    ApplyRaster(state);
    if (state.Flat) {
        glUseProgram(Flat.Id());
        UploadUniforms(Flat, state, FlatUploaded, FlatValid);
    } else {
        glUseProgram(Gouraud.Id());
        UploadUniforms(Gouraud, state, GouraudUploaded, GouraudValid);
    }
}

void TGlDevice::ResetCache() {
    for (uint32_t i = 0; i < kArraySlots; ++i) {
        Arrays[i] = TCachedArray{};
    }
    ArrayCount = 0;
    StoreUsed = 0;
}

bool TGlDevice::Cache(const D3DVERTEX* vertices, uint32_t count, uint32_t& first) {
    const size_t bytes = size_t{count} * sizeof(D3DVERTEX);
    const auto hash = reinterpret_cast<uintptr_t>(vertices) / sizeof(D3DVERTEX) * 2654435761u;
    uint32_t slot = static_cast<uint32_t>(hash ^ (hash >> 16) ^ count) & (kArraySlots - 1);
    while (Arrays[slot].Source != nullptr) {
        TCachedArray& entry = Arrays[slot];
        if (entry.Source == vertices && entry.Count == count) {
            first = entry.First;
            if (std::memcmp(&Store[first], vertices, bytes) != 0) {
                // Triangles still waiting may use the old contents.
                Flush();
                std::memcpy(&Store[first], vertices, bytes);
                glBufferSubData(GL_ARRAY_BUFFER, GLintptr{first} * kVertexBytes,
                                static_cast<GLsizeiptr>(bytes), vertices);
            }
            return true;
        }
        slot = (slot + 1) & (kArraySlots - 1);
    }
    if (count > CacheCapacity) {
        return false;
    }
    if (StoreUsed + count > CacheCapacity || 2 * (ArrayCount + 1) > kArraySlots) {
        // Full: start again (what waits in the batch refers to the old store).
        Flush();
        ResetCache();
        return Cache(vertices, count, first);
    }
    first = StoreUsed;
    std::memcpy(&Store[first], vertices, bytes);
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr{first} * kVertexBytes, static_cast<GLsizeiptr>(bytes),
                    vertices);
    Arrays[slot] = TCachedArray{vertices, count, first};
    ++ArrayCount;
    StoreUsed += count;
    return true;
}

GLintptr TGlDevice::StreamIndices(const GLuint* indices, uint32_t count) {
    const GLsizeiptr bytes = static_cast<GLsizeiptr>(count) * sizeof(GLuint);
    if (IndexOffset + bytes > kStreamBytes) {
        // Orphan the storage: the driver keeps the old block for draws still in flight.
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, kStreamBytes, nullptr, GL_STREAM_DRAW);
        IndexOffset = 0;
    }
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, IndexOffset, bytes, indices);
    const GLintptr at = IndexOffset;
    IndexOffset += bytes;
    return at;
}

// Appends the primitive's triangles to the batch as indices into the vertex store. Every
// triangle keeps its on-screen winding and starts with the vertex D3D takes a flat colour from
// (list 3k, strip k, fan k+1).
bool TGlDevice::AppendTriangles(D3DPRIMITIVETYPE type, uint32_t b, uint32_t count) {
    const uint32_t triangles = type == D3DPT_TRIANGLELIST ? count / 3 : count - 2;
    if (IndexCount + 3 * triangles > BatchCapacity) {
        return false;
    }
    GLuint* out = Indices.get() + IndexCount;
    for (GLuint k = 0; k < triangles; ++k) {
        if (type == D3DPT_TRIANGLELIST) {
            *out++ = b + 3 * k;
            *out++ = b + 3 * k + 1;
            *out++ = b + 3 * k + 2;
        } else if (type == D3DPT_TRIANGLESTRIP) {
            *out++ = b + k;
            *out++ = b + (k % 2 == 0 ? k + 1 : k + 2);
            *out++ = b + (k % 2 == 0 ? k + 2 : k + 1);
        } else {
            *out++ = b + k + 1;
            *out++ = b + k + 2;
            *out++ = b;
        }
    }
    IndexCount += 3 * triangles;
    return true;
}

void TGlDevice::Flush() {
    if (IndexCount == 0 || !Ready_) {
        IndexCount = 0;
        return;
    }
    const uint32_t count = IndexCount;
    IndexCount = 0;
    ApplyState(BatchState);
    const GLintptr at = StreamIndices(Indices.get(), count);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count), GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(at));
}

void TGlDevice::EndScene() {
    Flush();
    TDevice3D::EndScene();
}

void TGlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, D3DVERTEXTYPE vertexType,
                              const D3DVERTEX* vertices, uint32_t count, uint32_t flags) {
    (void)flags;
    GLenum mode = GL_TRIANGLES;
    // Direct3D draws only between BeginScene and EndScene, into a current viewport.
    if (!Ready_ || !IsInScene() || GetCurrentViewport() == nullptr) {
        return;
    }
    if (vertexType != D3DVT_VERTEX || vertices == nullptr || !PrimitiveMode(type, mode)) {
        return;
    }
    const bool triangles =
        type == D3DPT_TRIANGLELIST || type == D3DPT_TRIANGLESTRIP || type == D3DPT_TRIANGLEFAN;
    if (count == 0 || (triangles && count < 3)) {
        return;
    }
    uint32_t first = 0;
    if (!Cache(vertices, count, first)) {
        return;
    }
    BuildState(Wanted);
    if (IndexCount > 0 && std::memcmp(&Wanted, &BatchState, sizeof Wanted) != 0) {
        Flush();
    }
    if (triangles) {
        if (IndexCount == 0) {
            BatchState = Wanted;
        }
        if (AppendTriangles(type, first, count)) {
            return;
        }
        Flush();
        BatchState = Wanted;
        if (AppendTriangles(type, first, count)) {
            return;
        }
    }
    Flush();
    ApplyState(Wanted);
    glDrawArrays(mode, static_cast<GLint>(first), static_cast<GLsizei>(count));
}

// ---- context ----

TGlContext::~TGlContext() {
    SDL_GL_DeleteContext(Context);
}

void TGlContext::MakeCurrent() const {
    SDL_GL_MakeCurrent(Window, Context);
}

std::unique_ptr<TGlContext> TGlContext::Create(SDL_Window* window, TDeviceKind kind, bool vsync,
                                               const char*& error) {
    if (window == nullptr) {
        error = "there is no window to draw in";
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    if (kind == devHardware) {
        SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, 1);
    } else {
        // Mesa's software rasteriser; the last attempt takes any visual at all.
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, kind == devMMX ? 0 : -1);
    }
    const SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        error = kind == devHardware ? "no hardware OpenGL 3.3 context could be created"
                                    : "no software OpenGL 3.3 context could be created";
        return nullptr;
    }
    std::unique_ptr<TGlContext> result(new TGlContext(window, context));
    result->MakeCurrent();
    if (!epoxy_is_desktop_gl() || epoxy_gl_version() < 33) {
        error = "the OpenGL context is older than version 3.3";
        return nullptr;
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (kind == devHardware && IsSoftwareRenderer(renderer)) {
        error = "the only OpenGL renderer is a software one";
        return nullptr;
    }
    result->SwapWaits_ = SDL_GL_SetSwapInterval(vsync ? 1 : 0) == 0 && vsync;
    return result;
}

// ---- factory ----

TGlDirect3D::~TGlDirect3D() {
    if (Device != nullptr) {
        Device->ReleaseGlObjects();
        Device = nullptr;
    }
}

bool TGlDirect3D::HasHardwareDevice() const {
    // Whether a hardware device exists is only known by making one; a machine told to render
    // in software has none.
    const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    return forced == nullptr || std::strcmp(forced, "0") == 0;
}

std::unique_ptr<TDevice3D> TGlDirect3D::CreateDevice(TDeviceKind kind) {
    if (Device != nullptr) {
        Error = "a device already exists";
        return nullptr;
    }
    if (Context == nullptr) {
        Context = TGlContext::Create(Screen.Window, kind, Vsync, Error);
        if (Context == nullptr) {
            return nullptr;
        }
    }
    Context->MakeCurrent();
    Screen.Refresh();
    Screen.RasterDirty = true;
    auto device = std::make_unique<TGlDevice>(Screen, this);
    if (!device->Ready()) {
        Error = "the OpenGL shaders could not be built";
        device.reset();
        Context.reset();
        return nullptr;
    }
    Device = device.get();
    return device;
}

void TGlDirect3D::ForgetDevice(const TGlDevice* device) {
    if (Device == device) {
        Device = nullptr;
    }
}

std::unique_ptr<TDeviceViewport> TGlDirect3D::CreateViewport() {
    return std::make_unique<TGlViewport>(Screen);
}

std::unique_ptr<TDeviceMaterial> TGlDirect3D::CreateMaterial() {
    return std::make_unique<TGlMaterial>();
}

std::unique_ptr<TDeviceLight> TGlDirect3D::CreateLight() {
    return std::make_unique<TGlLight>();
}

// ---- window attributes ----

void GlPrepareWindowAttributes() {
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
}

uint32_t GlWindowFlags() {
    return SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
}
