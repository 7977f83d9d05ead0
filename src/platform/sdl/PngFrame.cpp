#include "platform/sdl/PngFrame.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>

TFrameImage::TPixel TFrameImage::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) {
        return {};
    }
    const size_t i = (static_cast<size_t>(y) * Width + x) * 4;
    return {Rgba[i], Rgba[i + 1], Rgba[i + 2]};
}

TFrameImage ReadFrame(const TGlScreen& screen) {
    screen.FlushDrawing();
    TFrameImage frame;
    frame.Width = screen.DrawableWidth;
    frame.Height = screen.DrawableHeight;
    if (frame.Width <= 0 || frame.Height <= 0) {
        return frame;
    }
    const size_t rowBytes = static_cast<size_t>(frame.Width) * 4;
    std::vector<uint8_t> bottomUp(rowBytes * frame.Height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frame.Width, frame.Height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    // GL's row 0 is the bottom of the window.
    frame.Rgba.resize(bottomUp.size());
    for (int y = 0; y < frame.Height; ++y) {
        std::memcpy(&frame.Rgba[static_cast<size_t>(y) * rowBytes],
                    &bottomUp[static_cast<size_t>(frame.Height - 1 - y) * rowBytes], rowBytes);
    }
    return frame;
}

bool SaveFramePng(const TFrameImage& frame, const std::string& path) {
    if (frame.Width <= 0 || frame.Height <= 0) {
        std::fprintf(stderr, "Octavane: no frame to write to %s\n", path.c_str());
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(frame.Rgba.data()), frame.Width, frame.Height, 32, frame.Width * 4,
        SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        std::fprintf(stderr, "Octavane: cannot hold the frame: %s\n", SDL_GetError());
        return false;
    }
    const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
    if (!ok) {
        std::fprintf(stderr, "Octavane: cannot write %s: %s\n", path.c_str(), IMG_GetError());
    }
    SDL_FreeSurface(surface);
    return ok;
}
