#pragma once

#include "platform/sdl/GlDevice.h"

#include <cstdint>
#include <string>
#include <vector>

// A frame read back from the GL back buffer: RGBA bytes, rows top to bottom, in the window's
// real pixels. Read it after drawing and before Flip (the back buffer is undefined after a swap).
struct TFrameImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgba;

    struct TPixel {
        uint8_t R = 0, G = 0, B = 0;
    };
    // The pixel at (x, y) from the top left; black outside the image.
    TPixel At(int x, int y) const;
};

TFrameImage ReadFrame(const TGlScreen& screen);

// Writes the frame as a PNG file; false, with a line on standard error, when it cannot.
bool SaveFramePng(const TFrameImage& frame, const std::string& path);
