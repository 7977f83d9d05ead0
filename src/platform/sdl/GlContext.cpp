#include "platform/sdl/GlDeviceLocal.h"

#include "platform/Environment.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

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

// Sets an environment variable for as long as it lives, then puts back what was there: Mesa reads
// its choice of rasteriser when the context is made, and the rest of the process (and what it
// starts) keeps the environment it was given.
class TScopedEnvironment {
  public:
    TScopedEnvironment(const char* name, const char* value) : Name(name) {
        if (const char* old = std::getenv(name)) {
            Saved = old;
            HadValue = true;
        }
        SetEnvironment(name, value);
    }
    ~TScopedEnvironment() {
        if (HadValue) {
            SetEnvironment(Name, Saved.c_str());
        } else {
            UnsetEnvironment(Name);
        }
    }
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

  private:
    const char* Name;
    std::string Saved;
    bool HadValue = false;
};

} // namespace

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
    // The version and profile were asked for with the window (GlPrepareWindowAttributes).
    SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, kind == devHardware ? 1
                                                   : kind == devMMX    ? 0
                                                                       : -1);
    SDL_GLContext context = nullptr;
    if (kind == devHardware) {
        context = SDL_GL_CreateContext(window);
    } else {
        // Mesa's software rasteriser; the last attempt takes any visual at all.
        const TScopedEnvironment software("LIBGL_ALWAYS_SOFTWARE", "1");
        context = SDL_GL_CreateContext(window);
    }
    if (context == nullptr) {
        error = kind == devHardware ? kGlNoHardwareContextMessage : kGlNoSoftwareContextMessage;
        return nullptr;
    }
    std::unique_ptr<TGlContext> result(new TGlContext(window, context));
    result->MakeCurrent();
    if (!GlContextIsRecentEnough()) {
        error = kGlTooOldMessage;
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
    GlRequestContextVersion();
}

uint32_t GlWindowFlags() {
    return SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
}
