#include "device/Setdx.h"

#include "device/Input.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidmark.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"
#include "scene/Solidring.h"

#include <cstdio>
#include <memory>
#include <string>

TPresenter* g_presenter = nullptr;
TDirect3D* g_d3d = nullptr;
TDevice3D* g_device = nullptr;
TDeviceViewport* g_viewport = nullptr;
TDeviceMaterial* g_material = nullptr;
D3DMATERIALHANDLE g_materialHandle = 0;
TLight* g_lights[kLightCount] = {};
TCamera* g_camera = nullptr;
TSolidPiece* g_pieces[kPieceCount] = {};
TSolidBoard* g_boardModel = nullptr;
TSolidPointer* g_pointer = nullptr;
TSolidMark* g_moveMark = nullptr;
TSolidRing* g_lastMoveMark = nullptr;
TSolidRing* g_preferredMark = nullptr;

namespace {

TDeviceSources Sources;
// The device objects are owned here; the globals above are their plain views.
std::unique_ptr<TDevice3D> DeviceOwner;
std::unique_ptr<TDeviceViewport> ViewportOwner;
std::unique_ptr<TDeviceMaterial> MaterialOwner;
std::string Failure;
uint32_t RandState = 1;

// Presenter steps made, so that each release step runs only for what exists.
bool DriverOpen = false;
bool FlipChainMade = false;
bool DepthBufferMade = false;

HRESULT Fail(HRESULT code, const char* step) {
    Failure = step;
    if (g_presenter != nullptr && g_presenter->LastError()[0] != '\0') {
        Failure += ": ";
        Failure += g_presenter->LastError();
    }
    return code;
}

// Steps 11 and 12 of the set-up: the device, hardware first, then the two software ones.
HRESULT CreateDevice() {
    for (const TDeviceKind kind : {devHardware, devMMX, devRGB}) {
        DeviceOwner = g_d3d->CreateDevice(kind);
        if (DeviceOwner != nullptr) {
            break;
        }
    }
    g_device = DeviceOwner.get();
    return g_device != nullptr ? DD_OK : Fail(DDERR_NO3D, "no 3D device could be created");
}

void CreateViewport() {
    ViewportOwner = g_d3d->CreateViewport();
    g_viewport = ViewportOwner.get();
    if (g_viewport == nullptr) {
        return;
    }
    g_device->AddViewport(*g_viewport);
    g_device->SetCurrentViewport(*g_viewport);
    D3DVIEWPORT2 data{};
    data.dwSize = sizeof(D3DVIEWPORT2);
    data.dwX = 0;
    data.dwY = 0;
    data.dwWidth = kScreenWidth;
    data.dwHeight = kScreenHeight;
    data.dvClipX = -1.0f;
    data.dvClipY = static_cast<float>(data.dwHeight) / static_cast<float>(data.dwWidth);
    data.dvClipWidth = 2.0f;
    data.dvClipHeight = 2.0f * data.dvClipY;
    data.dvMinZ = 0.0f;
    data.dvMaxZ = 1.0f;
    g_viewport->SetViewport2(data);
}

void CreateMaterial() {
    MaterialOwner = g_d3d->CreateMaterial();
    g_material = MaterialOwner.get();
    if (g_material != nullptr) {
        g_materialHandle = g_material->GetHandle(*g_device);
    }
}

void CreateLights() {
    const D3DCOLORVALUE none{0.0f, 0.0f, 0.0f, 0.0f};
    g_lights[0] = new TLight(g_d3d, g_viewport);
    g_lights[0]->SetDirectionalLight(none, TVector{1000.0f, -1000.0f, -1000.0f});
    g_lights[0]->SetColor(0.6f, 0.6f, 0.6f, 0.0f);
    g_lights[0]->Update();
    g_lights[1] = new TLight(g_d3d, g_viewport);
    g_lights[1]->SetPointLight(none, TVector{0.0f, 0.0f, 100.0f}, 400.0f);
    g_lights[1]->SetColor(2.0f, 2.0f, 2.0f, 0.0f);
    g_lights[1]->Update();
}

// Every disc on the centre of its square, its side chosen by the runtime's rand().
void CreatePieces() {
    for (int i = 0; i < kPieceCount; ++i) {
        TSolidPiece* piece = new TSolidPiece(g_device, g_material);
        g_pieces[i] = piece;
        piece->Visible = true;
        piece->Position.X.SetValue(CellToWorld(i % kBoardSide));
        piece->Position.Y.SetValue(CellToWorld(i / kBoardSide));
        piece->Position.Z.SetValue(kRestingDiscZ);
        piece->Rotation.X.SetValue(RuntimeRand() % 2 != 0 ? kWhiteUpDegrees : 0.0);
        piece->Rotation.Y.SetValue(0.0);
        piece->Rotation.Z.SetValue(0.0);
    }
}

template <typename T> void Delete(T*& object) {
    delete object;
    object = nullptr;
}

} // namespace

void SetDeviceSources(const TDeviceSources& sources) {
    Sources = sources;
}

const char* GraphicsFailure() {
    return Failure.c_str();
}

int RuntimeRand() {
    RandState = RandState * 22695477u + 1u;
    return static_cast<int>((RandState >> 16) & 0x7FFF);
}

void RuntimeSrand(uint32_t seed) {
    RandState = seed;
}

int InitDevices(HWND window) {
    // 1. The sine table, before anything can call StepSin or StepCos.
    FillSinTable();
    // 2. Graphics; without them nothing else starts.
    const HRESULT result = InitGraphics(window);
    if (result != DD_OK) {
        std::fprintf(stderr, "Octavane: the graphics could not be set up: %s (error 0x%08X)\n",
                     GraphicsFailure(), static_cast<unsigned>(result));
        return 1;
    }
    // 3, 4. Input and sound; a machine without them runs on silently.
    InitInput(Sources.Joysticks);
    InitSound(Sources.Audio, Sources.SoundFolders);
    return 0;
}

void ReleaseDevices() {
    ReleaseSound();
    ReleaseInput();
    ReleaseGraphics();
}

HRESULT InitGraphics(HWND /*window*/) {
    Failure.clear();
    // 1. The display driver.
    g_presenter = Sources.Presenter;
    if (g_presenter == nullptr) {
        return Fail(1, "there is no display driver");
    }
    if (g_presenter->OpenDriver() != DD_OK) {
        return Fail(1, "no display driver is available");
    }
    DriverOpen = true;
    // 2-4. The whole screen, 640 x 480 x 16.
    if (const HRESULT r = g_presenter->SetDisplayMode(kScreenWidth, kScreenHeight, kScreenBits);
        r != DD_OK) {
        return Fail(r, "the display mode could not be set");
    }
    // 5-6. The flip chain with one back buffer.
    if (const HRESULT r = g_presenter->CreateFlipChain(1); r != DD_OK) {
        return Fail(r, "the flip chain could not be created");
    }
    FlipChainMade = true;
    // 7. The Direct3D object.
    g_d3d = g_presenter->GetDirect3D();
    if (g_d3d == nullptr) {
        return Fail(DDERR_NO3D, "Direct3D is not available");
    }
    // 8-10. The depth buffer, in video memory only beside a hardware device.
    const bool hardware = g_d3d->HasHardwareDevice();
    const bool videoMemory = g_presenter->BackBufferInVideoMemory();
    g_presenter->CreateDepthBuffer(kScreenWidth, kScreenHeight, kDepthBits,
                                   hardware && videoMemory);
    DepthBufferMade = true;
    // 11. The device.
    if (const HRESULT r = CreateDevice(); r != DD_OK) {
        return r;
    }
    // 12-13. The viewport and the shared material.
    CreateViewport();
    CreateMaterial();
    // 14-18. The scene: lights, camera, discs, board, pointer.
    CreateLights();
    g_camera = new TCamera(g_device);
    CreatePieces();
    g_boardModel = new TSolidBoard(g_device, g_material);
    g_boardModel->Visible = true;
    g_pointer = new TSolidPointer(g_device, g_material);
    g_pointer->Visible = true;
    // The legal-move mark, shown only while the game places it.
    g_moveMark = new TSolidMark(g_device, g_material);
    g_lastMoveMark = new TSolidRing(g_device, g_material);
    g_preferredMark = new TSolidRing(g_device, g_material, TSolidRing::kPreferredColour);
    return DD_OK;
}

void ReleaseGraphics() {
    // 1. The scene objects.
    for (TSolidPiece*& piece : g_pieces) {
        Delete(piece);
    }
    Delete(g_boardModel);
    Delete(g_pointer);
    Delete(g_moveMark);
    Delete(g_lastMoveMark);
    Delete(g_preferredMark);
    Delete(g_camera);
    for (TLight*& light : g_lights) {
        Delete(light);
    }
    // 2. The device objects, then the screen.
    MaterialOwner.reset();
    g_material = nullptr;
    g_materialHandle = 0;
    ViewportOwner.reset();
    g_viewport = nullptr;
    DeviceOwner.reset();
    g_device = nullptr;
    if (g_presenter != nullptr) {
        if (g_d3d != nullptr) {
            g_presenter->ReleaseDirect3D();
        }
        if (DepthBufferMade) {
            g_presenter->ReleaseDepthBuffer();
        }
        if (FlipChainMade) {
            g_presenter->ReleaseFlipChain();
        }
        if (DriverOpen) {
            g_presenter->CloseDriver();
        }
    }
    g_d3d = nullptr;
    DepthBufferMade = false;
    FlipChainMade = false;
    DriverOpen = false;
    g_presenter = nullptr;
}

void BeginFrame(int32_t fogEnable) {
    if (g_presenter == nullptr || g_device == nullptr) {
        return;
    }
    // 1. The whole back buffer black.
    g_presenter->ColorFill(0);
    // 2-3. Depth test on; the depth of the whole screen cleared.
    g_device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DSTATE_TRUE);
    if (g_viewport != nullptr) {
        const D3DRECT screen{0, 0, static_cast<int32_t>(kScreenWidth),
                             static_cast<int32_t>(kScreenHeight)};
        g_viewport->Clear(1, &screen, D3DCLEAR_ZBUFFER);
    }
    // 4-5. Counter-clockwise triangles culled; Gouraud shading.
    g_device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    g_device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
    // 6. Fog, re-applied every frame so that a change in the settings shows at once.
    if (fogEnable != 0) {
        g_device->SetRenderState(D3DRENDERSTATE_FOGENABLE, D3DSTATE_TRUE);
        g_device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, 0);
        g_device->SetLightState(D3DLIGHTSTATE_FOGMODE, D3DFOG_LINEAR);
        g_device->SetLightState(D3DLIGHTSTATE_FOGSTART, D3DStateFromFloat(kFogStart));
        g_device->SetLightState(D3DLIGHTSTATE_FOGEND, D3DStateFromFloat(kFogEnd));
    } else {
        g_device->SetRenderState(D3DRENDERSTATE_FOGENABLE, D3DSTATE_FALSE);
    }
}

void PresentFrame() {
    if (g_presenter != nullptr && g_device != nullptr) {
        g_presenter->Flip();
    }
}
