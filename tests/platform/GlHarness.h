#pragma once

#include "platform/sdl/GlPresenter.h"
#include "platform/sdl/PngFrame.h"

// Real frames for the tests: an offscreen GL window per size with the device set up on it.

// InitGraphics on a window of this size (made once), the random generator restarted as at start.
void SetUpGraphics(int width, int height);
void TearDownGraphics();

// The frame as drawn so far, read back before the flip.
TFrameImage ReadBack();

// Saves the frame as <name>.png in a folder of this run's own, named on standard output.
void KeepFrame(const TFrameImage& frame, const char* name);
