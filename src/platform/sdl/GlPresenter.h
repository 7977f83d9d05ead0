#pragma once

#include "platform/FramePacer.h"
#include "platform/Present.h"
#include "platform/sdl/GlDevice.h"

#include <SDL.h>

#include <memory>
#include <string>

class TGlText;

// The presenter on an SDL window with an OpenGL context: the window goes full-screen at the
// display's own resolution unless FullScreen is off (the logical screen is letterboxed into
// whatever size the window has, from frame to frame), the flip chain is GL's
// double buffer, the depth buffer the default framebuffer's, and the Direct3D object a
// TGlDirect3D whose first device creates the context.
//
// The window must have been made with GlPrepareWindowAttributes() and GlWindowFlags(); it is not
// owned and must outlive the presenter.
struct TGlPresenterOptions {
    bool FullScreen = true; // false keeps the window's size (--window, tests, benchmarks)
    // Frames shown at the display's rate: the swap waits for it, or the presenter paces them
    // where it does not (TFramePacer). False draws as fast as possible.
    bool Vsync = true;
};

class TGlPresenter final : public TPresenter {
  public:
    TGlPresenter(SDL_Window* window, const TGlPresenterOptions& options);
    ~TGlPresenter() override;
    TGlPresenter(const TGlPresenter&) = delete;
    TGlPresenter& operator=(const TGlPresenter&) = delete;

    HRESULT OpenDriver() override;
    HRESULT SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) override;
    HRESULT CreateFlipChain(uint32_t backBufferCount) override;
    TDirect3D* GetDirect3D() override;
    bool BackBufferInVideoMemory() const override { return true; }
    HRESULT CreateDepthBuffer(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                              bool videoMemory) override;
    void ColorFill(uint32_t color) override;
    TTextDevice* GetTextDevice() override;
    void Flip() override;
    void ReleaseDirect3D() override;
    void ReleaseDepthBuffer() override;
    void ReleaseFlipChain() override;
    void CloseDriver() override;
    const char* LastError() const override { return Error.c_str(); }

    const TGlScreen& Screen() const { return Screen_; }
    // True once a device has a context to draw with.
    bool CanDraw() const;

  private:
    HRESULT Fail(HRESULT code, const std::string& what);

    TGlScreen Screen_;
    TGlPresenterOptions Options;
    bool DriverOpen = false;
    bool OwnsVideoSubsystem = false;
    bool FlipChain = false;
    bool WentFullScreen = false;
    std::unique_ptr<TGlDirect3D> Direct3D;
    std::unique_ptr<TGlText> Text;
    std::unique_ptr<TFramePacer> Pacer; // once the context exists, with Vsync
    std::string Error;
};
