#pragma once

#include "platform/Present.h"
#include "platform/WindowMessages.h"
#include "platform/d3d/Device3D.h"
#include "scene/BoardGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

class TLight;
class TCamera;
class TSolidPiece;
class TSolidBoard;
class TSolidPointer;
class TSolidMark;
class TSolidRing;
class TJoystickSource;
class TAudioSource;

// The graphics device, the scene objects it owns, and the order in which the window's devices
// are set up and released. Everything here is a process-wide global that the frame loop, the
// screens and the models use directly; all are null until InitGraphics makes them and null again
// after ReleaseGraphics.

// What the set-up reaches the machine through (none owned). The program hands in the SDL/GL
// implementations, tests the recording ones. Set before InitDevices.
struct TDeviceSources {
    TPresenter* Presenter = nullptr;
    TJoystickSource* Joysticks = nullptr;           // null: keyboard only
    TAudioSource* Audio = nullptr;                  // null: no sound
    std::vector<std::string> SoundFolders{"Sound"}; // where to look for the sounds, in order
};
void SetDeviceSources(const TDeviceSources& sources);

// The screen: display driver, mode, flip chain and depth buffer, back buffer fill and flip.
extern TPresenter* g_presenter;
extern TDirect3D* g_d3d;
extern TDevice3D* g_device;
extern TDeviceViewport* g_viewport;
extern TDeviceMaterial* g_material; // shared by every model; each sets its colours on it
extern D3DMATERIALHANDLE g_materialHandle;

inline constexpr int kLightCount = 2;

extern TLight* g_lights[kLightCount]; // 0: fixed directional light, 1: moving point light
extern TCamera* g_camera;
extern TSolidPiece* g_pieces[kPieceCount]; // by PieceIndex(column, row)
extern TSolidBoard* g_boardModel;
extern TSolidPointer* g_pointer;
extern TSolidMark* g_moveMark;      // drawn once on each square where the side to move may place
extern TSolidRing* g_lastMoveMark;  // drawn round the last disc placed
extern TSolidRing* g_preferredMark; // green: drawn by the analysis round the preferred move

// The logical screen and its viewport.
inline constexpr uint32_t kScreenWidth = 640;
inline constexpr uint32_t kScreenHeight = 480;
inline constexpr uint32_t kScreenBits = 16;
inline constexpr uint32_t kDepthBits = 16;

// Sine table, graphics, then input and sound. 0 on success; 1 when the graphics could not be
// set up, after one line on standard error saying what failed (input and sound then stay off).
int InitDevices(HWND window);
// Sound, input, graphics; safe after a partial or failed set-up.
void ReleaseDevices();

// 0, or 1 when there is no display driver, or the error of the step that failed. What already
// exists is left for ReleaseGraphics.
HRESULT InitGraphics(HWND window);
// Deletes the scene objects, then releases the device objects and the screen, each once.
void ReleaseGraphics();

// What the last failed InitGraphics step was, as a sentence; empty after a success.
const char* GraphicsFailure();

// The C runtime's rand(), which picks the side each disc shows at start: an unseeded 32-bit
// linear congruential generator (state * 22695477 + 1) returning bits 16..30 of its state.
int RuntimeRand();
// Restarts the generator as srand(seed) does; the program itself never calls it.
void RuntimeSrand(uint32_t seed);

// The render-state steps that open every frame: the whole back buffer black, the depth test on,
// the depth of the 640 x 480 screen cleared, counter-clockwise triangles culled, Gouraud
// shading, and black linear fog from 700 to 1100 when fogEnable is non-zero (fog off
// otherwise). Does nothing before the set-up.
void BeginFrame(int32_t fogEnable);
// Shows the finished back buffer.
void PresentFrame();

inline constexpr float kFogStart = 700.0f;
inline constexpr float kFogEnd = 1100.0f;
