#include "GlHarness.h"

#include "device/Setdx.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

struct TVec {
    double X = 0, Y = 0, Z = 0, W = 1;
};

// World, View and Projection applied to a model-space point, as a row vector.
TVec ToClip(const D3DVECTOR& p) {
    TVec v{p.x, p.y, p.z, 1};
    for (const D3DTRANSFORMSTATETYPE step :
         {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION}) {
        const D3DMATRIX& m = g_device->GetTransform(step);
        v = {v.X * m._11 + v.Y * m._21 + v.Z * m._31 + v.W * m._41,
             v.X * m._12 + v.Y * m._22 + v.Z * m._32 + v.W * m._42,
             v.X * m._13 + v.Y * m._23 + v.Z * m._33 + v.W * m._43,
             v.X * m._14 + v.Y * m._24 + v.Z * m._34 + v.W * m._44};
    }
    return v;
}

} // namespace

void SetUpGraphics(int width, int height) {
    static std::map<std::pair<int, int>, std::unique_ptr<TGlPresenter>> presenters;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SDL_InitSubSystem(SDL_INIT_VIDEO); // the window below says why when this fails
    std::unique_ptr<TGlPresenter>& presenter = presenters[{width, height}];
    if (!presenter) {
        GlPrepareWindowAttributes();
        SDL_Window* window =
            SDL_CreateWindow("Octavane test", 0, 0, width, height, GlWindowFlags());
        ASSERT_NE(window, nullptr) << SDL_GetError();
        presenter = std::make_unique<TGlPresenter>(window, TGlPresenterOptions{false, false});
    }
    SetDeviceSources({presenter.get(), nullptr, nullptr});
    RuntimeSrand(1);
    ASSERT_EQ(InitGraphics(nullptr), DD_OK) << GraphicsFailure();
}

void TearDownGraphics() {
    ReleaseGraphics();
    SetDeviceSources({});
}

TFrameImage ReadBack() {
    return ReadFrame(static_cast<const TGlPresenter*>(g_presenter)->Screen());
}

TFrameImage RenderScene(int32_t fogEnable) {
    BeginFrame(fogEnable);
    g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, kSceneAmbient);
    g_camera->Update();
    g_lights[1]->Update();
    g_boardModel->Render();
    for (TSolidPiece* piece : g_pieces) {
        piece->Render();
    }
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, MatrixIdentity());
    return ReadBack();
}

TScreenPoint Project(const D3DVECTOR& model) {
    const TVec c = ToClip(model);
    const D3DVIEWPORT2& vp = g_viewport->GetViewport2();
    const double xc = 2.0 / vp.dvClipWidth * c.X + (-2.0 * vp.dvClipX / vp.dvClipWidth - 1.0) * c.W;
    const double yc =
        2.0 / vp.dvClipHeight * c.Y + (-2.0 * vp.dvClipY / vp.dvClipHeight + 1.0) * c.W;
    const TScreenArea& area = static_cast<const TGlPresenter*>(g_presenter)->Screen().Area;
    return {area.X + (vp.dwX + (1.0 + xc / c.W) * vp.dwWidth / 2.0) * area.Scale,
            area.Y + (vp.dwY + (1.0 - yc / c.W) * vp.dwHeight / 2.0) * area.Scale};
}

TColor Probe(const TFrameImage& frame, const TScreenPoint& point) {
    TColor sum;
    for (int i = 0; i < 9; ++i) {
        const auto p = frame.At(static_cast<int>(std::floor(point.X)) + i % 3 - 1,
                                static_cast<int>(std::floor(point.Y)) + i / 3 - 1);
        sum = {sum.R + p.R / 2295.0, sum.G + p.G / 2295.0, sum.B + p.B / 2295.0}; // 9 x 255
    }
    return sum;
}

double Luminance(const TColor& c) {
    return 0.299 * c.R + 0.587 * c.G + 0.114 * c.B;
}

double Distance(const TColor& a, const TColor& b) {
    return std::max({std::abs(a.R - b.R), std::abs(a.G - b.G), std::abs(a.B - b.B)});
}

void KeepFrame(const TFrameImage& frame, const char* name) {
    static const std::string directory = [] {
        std::string pattern = ::testing::TempDir() + "octavane-frames-XXXXXX";
        std::printf("frames kept in %s\n", mkdtemp(pattern.data()) ? pattern.c_str() : "nowhere");
        return pattern;
    }();
    SaveFramePng(frame, directory + "/" + name + ".png");
}
