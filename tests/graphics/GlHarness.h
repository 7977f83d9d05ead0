#pragma once

#include "scene/BoardGeometry.h"

#include "platform/D3DTypes.h"
#include "platform/sdl/GlPresenter.h"
#include "platform/sdl/PngFrame.h"

#include <vector>

// Real frames for the tests: an offscreen SDL window per size with its GL presenter, the whole
// device set-up run on it, and the references the probes are compared with: where the D3D
// pipeline puts a world point on screen and what colour its lighting gives.

struct TScreenPoint {
    double X = 0.0; // real window pixels, from the top left
    double Y = 0.0;
};

// Opens (once per size) a windowed offscreen GL window and runs InitGraphics on it with the
// runtime generator restarted, as at program start. Fails the calling test when that is
// impossible.
TGlPresenter& SetUpGraphics(int width, int height);
// ReleaseGraphics; the window stays for the next test.
void TearDownGraphics();

// One frame of the scene as the screens draw it: the frame's states, the material and the
// ambient light of the screens, camera and moving light updated, then the board, the 64 discs and
// the pointer (each when visible). The frame is read back before the flip.
TFrameImage RenderScene(int32_t fogEnable);

// Projects a world point with the device's current World, View, Projection and viewport, through
// the letterboxed screen area, as the D3D pipeline defines it.
TScreenPoint Project(const D3DVECTOR& world);
// The same for a model-space point under the device's current World.
TScreenPoint ProjectModel(const D3DVECTOR& model);
// The w of a world point after the projection: the distance depth fog uses.
double FogDepth(const D3DVECTOR& world);

struct TColor {
    double R = 0.0, G = 0.0, B = 0.0; // 0..1
};

// The lit colour of one vertex by the DirectX 5 formulas: ambient, diffuse and specular over the
// device's active lights, clamped once; `world` and `normal` in model space under the device's
// current World. Fog is not applied.
TColor ReferenceVertexColor(const D3DMATERIAL& material, const D3DVECTOR& position,
                            const D3DVECTOR& normal);

// The probed colour, 0..1; averages a 3x3 block to stay off single-pixel edges.
TColor Probe(const TFrameImage& frame, const TScreenPoint& point);
double Luminance(const TColor& c);

// Saves the frame as <name>.png in a directory of this run's own (named on standard output)
// for people to look at.
void KeepFrame(const TFrameImage& frame, const char* name);
