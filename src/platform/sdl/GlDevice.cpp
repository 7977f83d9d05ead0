#include "platform/sdl/GlDeviceLocal.h"

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
        GlClearDepthToFar();
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
    : Screen(screen), Owner(owner), Indices(new GLuint[kBatchCapacity]),
      Store(new D3DVERTEX[kCacheCapacity]), Arrays(new TCachedArray[kArraySlots]) {
    if (!Gouraud.Build(false) || !Flat.Build(true)) {
        return;
    }
    glGenVertexArrays(1, &VertexArray);
    glGenBuffers(1, &VertexBuffer);
    glGenBuffers(1, &IndexBuffer);
    glBindVertexArray(VertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, VertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr{kCacheCapacity} * kVertexBytes, nullptr,
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
    GlUseFirstVertexForFlatShading();
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
                glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(first) * kVertexBytes,
                                static_cast<GLsizeiptr>(bytes), vertices);
            }
            return true;
        }
        slot = (slot + 1) & (kArraySlots - 1);
    }
    if (count > kCacheCapacity) {
        return false;
    }
    if (StoreUsed + count > kCacheCapacity || 2 * (ArrayCount + 1) > kArraySlots) {
        // Full: start again (what waits in the batch refers to the old store).
        Flush();
        ResetCache();
        return Cache(vertices, count, first);
    }
    first = StoreUsed;
    std::memcpy(&Store[first], vertices, bytes);
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(first) * kVertexBytes,
                    static_cast<GLsizeiptr>(bytes), vertices);
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
    if (IndexCount + 3 * triangles > kBatchCapacity) {
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
    if constexpr (kGlFlatColourFromLastVertex) {
        // Turned round by one: the same winding, the colour vertex last.
        for (GLuint* t = Indices.get() + IndexCount; t != out; t += 3) {
            std::rotate(t, t + 1, t + 3);
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
    if (IndexCount > 0 && !(Wanted == BatchState)) {
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
