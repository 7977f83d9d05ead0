#include "GlHarness.h"

#include "device/Setdx.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

struct TWindowEntry {
    SDL_Window* Window = nullptr;
    std::unique_ptr<TGlPresenter> Presenter;
};

std::map<std::pair<int, int>, TWindowEntry>& Windows() {
    static std::map<std::pair<int, int>, TWindowEntry> windows;
    return windows;
}

struct TVec {
    double X = 0, Y = 0, Z = 0;
};

TVec Transform(const TVec& p, const D3DMATRIX& m, double w = 1.0) {
    return {p.X * m._11 + p.Y * m._21 + p.Z * m._31 + w * m._41,
            p.X * m._12 + p.Y * m._22 + p.Z * m._32 + w * m._42,
            p.X * m._13 + p.Y * m._23 + p.Z * m._33 + w * m._43};
}

double Dot(const TVec& a, const TVec& b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

TVec Normalised(const TVec& v) {
    const double length = std::sqrt(Dot(v, v));
    return length > 0 ? TVec{v.X / length, v.Y / length, v.Z / length} : TVec{};
}

TVec Sub(const TVec& a, const TVec& b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

TVec Of(const D3DVECTOR& v) {
    return {v.x, v.y, v.z};
}

// World * View applied to a model-space point.
TVec ToEye(const D3DVECTOR& p) {
    return Transform(Transform(Of(p), g_device->GetTransform(D3DTRANSFORMSTATE_WORLD)),
                     g_device->GetTransform(D3DTRANSFORMSTATE_VIEW));
}

double ProjectedW(const TVec& eye) {
    const D3DMATRIX& p = g_device->GetTransform(D3DTRANSFORMSTATE_PROJECTION);
    return eye.X * p._14 + eye.Y * p._24 + eye.Z * p._34 + p._44;
}

double Clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

} // namespace

TGlPresenter& SetUpGraphics(int width, int height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ADD_FAILURE() << "SDL video: " << SDL_GetError();
    }
    TWindowEntry& entry = Windows()[{width, height}];
    if (entry.Window == nullptr) {
        GlPrepareWindowAttributes();
        entry.Window = SDL_CreateWindow("Octavane test", 0, 0, width, height, GlWindowFlags());
        if (entry.Window == nullptr) {
            ADD_FAILURE() << "window: " << SDL_GetError();
        }
        TGlPresenterOptions options;
        options.FullScreen = false;
        options.Vsync = false;
        entry.Presenter = std::make_unique<TGlPresenter>(entry.Window, options);
    }
    SetDeviceSources({entry.Presenter.get(), nullptr, nullptr});
    RuntimeSrand(1);
    const HRESULT result = InitGraphics(nullptr);
    EXPECT_EQ(result, DD_OK) << GraphicsFailure();
    return *entry.Presenter;
}

void TearDownGraphics() {
    ReleaseGraphics();
    SetDeviceSources({});
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
    g_pointer->Render();
    // Leave the world transform of the board for the probes of the board.
    g_device->SetTransform(D3DTRANSFORMSTATE_WORLD, MatrixIdentity());
    const auto* presenter = static_cast<const TGlPresenter*>(g_presenter);
    return ReadFrame(presenter->Screen());
}

TScreenPoint Project(const D3DVECTOR& world) {
    const TVec eye = Transform(Of(world), g_device->GetTransform(D3DTRANSFORMSTATE_VIEW));
    const D3DMATRIX& p = g_device->GetTransform(D3DTRANSFORMSTATE_PROJECTION);
    const double x = eye.X * p._11 + eye.Y * p._21 + eye.Z * p._31 + p._41;
    const double y = eye.X * p._12 + eye.Y * p._22 + eye.Z * p._32 + p._42;
    const double w = ProjectedW(eye);
    const D3DVIEWPORT2& vp = g_viewport->GetViewport2();
    const double xc = 2.0 / vp.dvClipWidth * x + (-2.0 * vp.dvClipX / vp.dvClipWidth - 1.0) * w;
    const double yc = 2.0 / vp.dvClipHeight * y + (-2.0 * vp.dvClipY / vp.dvClipHeight + 1.0) * w;
    const double sx = vp.dwX + (1.0 + xc / w) * vp.dwWidth / 2.0;
    const double sy = vp.dwY + (1.0 - yc / w) * vp.dwHeight / 2.0;
    const TScreenArea& area = static_cast<const TGlPresenter*>(g_presenter)->Screen().Area;
    return {area.X + sx * area.Scale, area.Y + sy * area.Scale};
}

TScreenPoint ProjectModel(const D3DVECTOR& model) {
    const TVec world = Transform(Of(model), g_device->GetTransform(D3DTRANSFORMSTATE_WORLD));
    return Project(
        {static_cast<float>(world.X), static_cast<float>(world.Y), static_cast<float>(world.Z)});
}

double FogDepth(const D3DVECTOR& world) {
    return ProjectedW(Transform(Of(world), g_device->GetTransform(D3DTRANSFORMSTATE_VIEW)));
}

TColor ReferenceVertexColor(const D3DMATERIAL& m, const D3DVECTOR& position,
                            const D3DVECTOR& normal) {
    const D3DMATRIX& world = g_device->GetTransform(D3DTRANSFORMSTATE_WORLD);
    const D3DMATRIX& view = g_device->GetTransform(D3DTRANSFORMSTATE_VIEW);
    const TVec p = ToEye(position);
    // Rigid transforms in these tests: the normal goes through the 3x3 and is renormalised.
    const TVec n = Normalised(Transform(Transform(Of(normal), world, 0.0), view, 0.0));
    const TVec toViewer = Normalised(TVec{-p.X, -p.Y, -p.Z});
    TVec diffuse, specular;
    for (const TDeviceLight* light : g_viewport->GetLights()) {
        const D3DLIGHT2& d = light->GetLight();
        if ((d.dwFlags & D3DLIGHT_ACTIVE) == 0) {
            continue;
        }
        TVec l;
        double a = 1.0;
        if (d.dltType == D3DLIGHT_DIRECTIONAL) {
            const TVec dir = Normalised(Transform(Of(d.dvDirection), view, 0.0));
            l = {-dir.X, -dir.Y, -dir.Z};
        } else {
            const TVec toLight = Sub(Transform(Of(d.dvPosition), view), p);
            const double distance = std::sqrt(Dot(toLight, toLight));
            if (distance >= d.dvRange) {
                continue;
            }
            l = Normalised(toLight);
            const double dn = (d.dvRange - distance) / d.dvRange;
            a = d.dvAttenuation0 + d.dvAttenuation1 * dn + d.dvAttenuation2 * dn * dn;
        }
        const double nl = Dot(n, l);
        if (nl <= 0) {
            continue;
        }
        diffuse.X += a * d.dcvColor.r * nl;
        diffuse.Y += a * d.dcvColor.g * nl;
        diffuse.Z += a * d.dcvColor.b * nl;
        const bool specularOn = g_device->GetRenderState(D3DRENDERSTATE_SPECULARENABLE) != 0;
        if (specularOn && m.power > 0) {
            const double t =
                Dot(n, Normalised(TVec{l.X + toViewer.X, l.Y + toViewer.Y, l.Z + toViewer.Z}));
            if (t > 0) {
                const double s = a * std::pow(t, m.power);
                specular.X += s * d.dcvColor.r;
                specular.Y += s * d.dcvColor.g;
                specular.Z += s * d.dcvColor.b;
            }
        }
    }
    const uint32_t ambient = g_device->GetLightState(D3DLIGHTSTATE_AMBIENT);
    const double ia[3] = {((ambient >> 16) & 0xFF) / 255.0, ((ambient >> 8) & 0xFF) / 255.0,
                          (ambient & 0xFF) / 255.0};
    const TColor lit{Clamp01(m.ambient.r * ia[0] + m.diffuse.r * diffuse.X + m.emissive.r),
                     Clamp01(m.ambient.g * ia[1] + m.diffuse.g * diffuse.Y + m.emissive.g),
                     Clamp01(m.ambient.b * ia[2] + m.diffuse.b * diffuse.Z + m.emissive.b)};
    const TColor shine{Clamp01(m.specular.r * specular.X), Clamp01(m.specular.g * specular.Y),
                       Clamp01(m.specular.b * specular.Z)};
    return {Clamp01(lit.R + shine.R), Clamp01(lit.G + shine.G), Clamp01(lit.B + shine.B)};
}

TColor Probe(const TFrameImage& frame, const TScreenPoint& point) {
    const int cx = static_cast<int>(std::floor(point.X));
    const int cy = static_cast<int>(std::floor(point.Y));
    TColor sum;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const TFrameImage::TPixel p = frame.At(cx + dx, cy + dy);
            sum.R += p.R / 255.0;
            sum.G += p.G / 255.0;
            sum.B += p.B / 255.0;
        }
    }
    return {sum.R / 9, sum.G / 9, sum.B / 9};
}

double Luminance(const TColor& c) {
    return 0.299 * c.R + 0.587 * c.G + 0.114 * c.B;
}

void KeepFrame(const TFrameImage& frame, const char* name) {
    static const std::string directory = [] {
        std::string pattern = ::testing::TempDir() + "octavane-frames-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            return std::string(".");
        }
        std::printf("frames kept in %s\n", pattern.c_str());
        return pattern;
    }();
    SaveFramePng(frame, directory + "/" + name + ".png");
}
