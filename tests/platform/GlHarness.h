#pragma once

#include "platform/d3d/D3DTypes.h"
#include "platform/sdl/GlPresenter.h"
#include "platform/sdl/PngFrame.h"

// Real frames for the tests: an offscreen SDL window per size with its GL presenter, the whole
// device set-up run on it, and the references the probes are compared with: where the D3D
// pipeline puts a point on screen.

struct TScreenPoint {
    double X = 0.0; // real window pixels, from the top left
    double Y = 0.0;
};

struct TColor {
    double R = 0.0, G = 0.0, B = 0.0; // 0..1
};

// Opens (once per size) a windowed offscreen GL window and runs InitGraphics on it with the
// runtime generator restarted, as at program start; fails the calling test when impossible.
void SetUpGraphics(int width, int height);
// ReleaseGraphics; the window stays for the next test.
void TearDownGraphics();

// The frame as drawn so far, read back before the flip.
TFrameImage ReadBack();
// One frame of the scene as the screens draw it: the frame's states, the material and the
// ambient light of the screens, camera and moving light updated, then the board and the 64 discs.
// The world transform is left at the identity.
TFrameImage RenderScene(int32_t fogEnable);

// Where a model-space point under the device's current World, View, Projection and viewport
// lands in the window, through the letterboxed screen area, as the D3D pipeline defines it.
TScreenPoint Project(const D3DVECTOR& model);
// The probed colour, 0..1; averages a 3x3 block to stay off single-pixel edges.
TColor Probe(const TFrameImage& frame, const TScreenPoint& point);
double Luminance(const TColor& c);
// The largest difference of one channel.
double Distance(const TColor& a, const TColor& b);

// Saves the frame as <name>.png in a directory of this run's own (named on standard output)
// for people to look at.
void KeepFrame(const TFrameImage& frame, const char* name);
