#pragma once

#include <cstdint>

// Text on the back buffer, standing in for GDI on a surface's device context: fonts made by face
// name and cell height, and single lines drawn centred in a rectangle. All coordinates are pixels
// of the logical 640 x 480 screen, y down; an implementation scales them with the screen.

struct RECT {
    int32_t left, top, right, bottom;
};

// 0x00BBGGRR, as GDI has it.
using COLORREF = uint32_t;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
    return r | (uint32_t{g} << 8) | (uint32_t{b} << 16);
}

// A font made by CreateFont; 0 is no font.
using HFONT = uint32_t;

class TTextDevice {
  public:
    virtual ~TTextDevice() = default;

    // Takes the back buffer for drawing; 0 on success, or an error code and nothing may be drawn.
    virtual int32_t GetDC() = 0;
    // Gives the back buffer back; 0 on success.
    virtual int32_t ReleaseDC() = 0;

    // A font of the UTF-8 family name `face` whose cell (ascent plus descent) is `height` pixels.
    // A face that is not installed is substituted, as a desktop does; 0 only when no face at all
    // can be loaded.
    virtual HFONT CreateFont(const char* face, int height) = 0;
    virtual void DeleteFont(HFONT font) = 0;

    // One line of UTF-8 text in `color`: centred horizontally in `rect`, its cell starting at the
    // rectangle's top, nothing outside the rectangle touched. Characters the font lacks are taken
    // from an installed face that has them.
    virtual void DrawText(HFONT font, const char* text, const RECT& rect, COLORREF color) = 0;
};
