#pragma once

#include <cstdint>

class TDirect3D;
class TTextDevice;

// The screen the program draws on, standing in for DirectDraw: the driver, the full-screen
// display mode, the flip chain with its depth buffer, the colour fill of the back buffer and the
// flip. The set-up (device/Setdx) walks these steps in order; the frame loop fills and flips.
//
// The logical screen is always the mode's size (640 x 480). An implementation on a desktop
// shows it in the largest centred area of the window with the mode's aspect ratio, black bars
// around it; everything drawn in logical pixels (viewport rectangles, text) is scaled with it.
//
// Results are HRESULT-style: DD_OK (0) or a negative error code. LastError() gives a sentence
// naming what went wrong, for the one line the program prints when the set-up fails.

using HRESULT = int32_t;

inline constexpr HRESULT DD_OK = 0;
inline constexpr HRESULT DDERR_GENERIC = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT DDERR_INVALIDMODE = static_cast<HRESULT>(0x8876005Au);
inline constexpr HRESULT DDERR_NO3D = static_cast<HRESULT>(0x887600AAu);
inline constexpr HRESULT DDERR_NODIRECTDRAWHW = static_cast<HRESULT>(0x88760235u);
inline constexpr HRESULT DDERR_NOTINITIALIZED = static_cast<HRESULT>(0x887600A0u);

class TPresenter {
  public:
    virtual ~TPresenter() = default;

    // Finds the display driver. Fails when there is no display to draw on.
    virtual HRESULT OpenDriver() = 0;
    // Takes the whole screen and sets up a logical screen of width x height pixels at the given
    // colour depth.
    virtual HRESULT SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) = 0;
    // A front buffer and `backBufferCount` back buffers that Flip exchanges.
    virtual HRESULT CreateFlipChain(uint32_t backBufferCount) = 0;
    // The Direct3D object of this driver, or null. Owned by the presenter; it lives until Close.
    virtual TDirect3D* GetDirect3D() = 0;
    // Whether the back buffer lives in video memory.
    virtual bool BackBufferInVideoMemory() const = 0;
    // The depth buffer of the back buffer, in video or system memory. Devices created after this
    // call render with it.
    virtual HRESULT CreateDepthBuffer(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                                      bool videoMemory) = 0;

    // Fills the whole back buffer, bars included, with an 0x00RRGGBB colour.
    virtual void ColorFill(uint32_t color) = 0;
    // The text drawn on the back buffer, or null when it cannot be reached (no flip chain yet).
    virtual TTextDevice* GetTextDevice() = 0;
    // Shows the back buffer; waits for the display's refresh when vertical sync is available.
    virtual void Flip() = 0;

    // Release steps, each safe when its object does not exist: the Direct3D object (every device,
    // viewport, material and light made by it must already be gone), the depth buffer, the flip
    // chain, and the driver (which gives the screen back).
    virtual void ReleaseDirect3D() = 0;
    virtual void ReleaseDepthBuffer() = 0;
    virtual void ReleaseFlipChain() = 0;
    virtual void CloseDriver() = 0;

    virtual const char* LastError() const = 0;
};

// Where a logical screen of logicalWidth x logicalHeight sits in a window of the given pixel
// size: the largest centred rectangle with the logical aspect ratio. Scale is window pixels per
// logical pixel.
struct TScreenArea {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    double Scale = 1.0;
};

TScreenArea FitScreenArea(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight);
