#include "platform/sdl/GlPresenter.h"

#include "platform/Clock.h"
#include "platform/sdl/DisplayFrame.h"
#include "platform/sdl/FontText.h"

TGlPresenter::TGlPresenter(SDL_Window* window, const TGlPresenterOptions& options)
    : Options(options) {
    Screen_.Window = window;
}

TGlPresenter::~TGlPresenter() {
    ReleaseDirect3D();
    ReleaseDepthBuffer();
    ReleaseFlipChain();
    CloseDriver();
}

HRESULT TGlPresenter::Fail(HRESULT code, const std::string& what) {
    Error = what;
    return code;
}

HRESULT TGlPresenter::OpenDriver() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return Fail(DDERR_NODIRECTDRAWHW,
                        std::string("no video driver could be started: ") + SDL_GetError());
        }
        OwnsVideoSubsystem = true;
    }
    if (SDL_GetNumVideoDisplays() < 1) {
        return Fail(DDERR_NODIRECTDRAWHW, "there is no display to draw on");
    }
    DriverOpen = true;
    return DD_OK;
}

HRESULT TGlPresenter::SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    if (!DriverOpen) {
        return Fail(DDERR_NOTINITIALIZED, "the display driver is not open");
    }
    if (Screen_.Window == nullptr) {
        return Fail(DDERR_INVALIDMODE, "there is no window to take the screen with");
    }
    if (width == 0 || height == 0 ||
        (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)) {
        return Fail(DDERR_INVALIDMODE, "the display mode is not supported");
    }
    if (Options.FullScreen) {
        if (SDL_SetWindowFullscreen(Screen_.Window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            return Fail(DDERR_INVALIDMODE,
                        std::string("the window could not go full-screen: ") + SDL_GetError());
        }
        WentFullScreen = true;
    }
    Screen_.LogicalWidth = static_cast<int>(width);
    Screen_.LogicalHeight = static_cast<int>(height);
    Screen_.Refresh();
    return DD_OK;
}

HRESULT TGlPresenter::CreateFlipChain(uint32_t backBufferCount) {
    if (!DriverOpen || Screen_.Window == nullptr) {
        return Fail(DDERR_NOTINITIALIZED, "the display mode is not set");
    }
    // GL windows are double-buffered; more back buffers would only add latency.
    if (backBufferCount != 1) {
        return Fail(DDERR_INVALIDMODE, "only one back buffer is supported");
    }
    FlipChain = true;
    return DD_OK;
}

TDirect3D* TGlPresenter::GetDirect3D() {
    if (!FlipChain) {
        Error = "there is no flip chain to render into";
        return nullptr;
    }
    if (Direct3D == nullptr) {
        Direct3D = std::make_unique<TGlDirect3D>(Screen_, Options.Vsync);
    }
    return Direct3D.get();
}

HRESULT TGlPresenter::CreateDepthBuffer(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                                        bool videoMemory) {
    (void)videoMemory;
    // The window's visual already carries a depth buffer of at least 16 bits
    // (GlPrepareWindowAttributes) at the window's real size, which covers the logical one.
    if (!FlipChain || width == 0 || height == 0 || bitsPerPixel == 0) {
        return Fail(DDERR_INVALIDMODE, "the depth buffer cannot be made");
    }
    return DD_OK;
}

bool TGlPresenter::CanDraw() const {
    return Direct3D != nullptr && Direct3D->HasContext();
}

void TGlPresenter::ColorFill(uint32_t color) {
    if (!CanDraw()) {
        return;
    }
    Screen_.FlushDrawing();
    Screen_.Refresh();
    glDisable(GL_SCISSOR_TEST);
    glClearColor(static_cast<float>((color >> 16) & 0xFF) / 255.0f,
                 static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                 static_cast<float>(color & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    Screen_.RasterDirty = true;
}

TTextDevice* TGlPresenter::GetTextDevice() {
    if (!CanDraw()) {
        return nullptr;
    }
    Screen_.FlushDrawing();
    if (Text == nullptr) {
        Text = std::make_unique<TGlText>(Screen_);
    }
    return Text.get();
}

void TGlPresenter::Flip() {
    if (!CanDraw()) {
        return;
    }
    Screen_.FlushDrawing();
    // Where the window is an EGL pbuffer (SDL's offscreen driver) the swap does nothing at all,
    // not even flush: the frames' commands, and the buffer blocks they hold, would pile up in
    // the driver without end (tens of megabytes a second with Mesa's software rasteriser).
    glFlush();
    SDL_GL_SwapWindow(Screen_.Window);
    if (Options.Vsync && !WaitForDisplayFrame()) {
        if (Pacer == nullptr) {
            SDL_DisplayMode mode{};
            const int display = SDL_GetWindowDisplayIndex(Screen_.Window);
            const int refresh = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0
                                    ? mode.refresh_rate
                                    : 0;
            Pacer = std::make_unique<TFramePacer>(refresh, Direct3D->SwapWaits());
        }
        if (const uint32_t wait = Pacer->AfterSwap(GetTickCount())) {
            SDL_Delay(wait);
        }
    }
}

void TGlPresenter::ReleaseDirect3D() {
    Pacer.reset();
    Text.reset();
    Direct3D.reset();
}

void TGlPresenter::ReleaseDepthBuffer() {}

void TGlPresenter::ReleaseFlipChain() {
    FlipChain = false;
}

void TGlPresenter::CloseDriver() {
    if (WentFullScreen && Screen_.Window != nullptr) {
        SDL_SetWindowFullscreen(Screen_.Window, 0);
    }
    WentFullScreen = false;
    if (OwnsVideoSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    OwnsVideoSubsystem = false;
    DriverOpen = false;
}
