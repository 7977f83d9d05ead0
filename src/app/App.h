#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WindowMessages.h"

class TEventSource;
class TJoystickSource;
class TAudioSource;
class TPresenter;
class TClipboard;

// The program around the screens: the one window, its procedure, the loop that runs a frame
// whenever no message waits, and the device set-up and release the window drives.

// What the program runs on. main hands in the SDL implementations; tests hand in fakes.
class TAppPlatform {
  public:
    virtual ~TAppPlatform() = default;
    // Makes the main window (not yet set up); null when it cannot be made, after saying why in
    // one line on standard error. Owned by the platform.
    virtual TWindow* CreateMainWindow() = 0;
    virtual TEventSource* Events() = 0;
    virtual TJoystickSource* Joysticks() = 0; // null: keyboard only
    virtual TAudioSource* Audio() = 0;        // null: no sound
    // The screen the graphics set-up takes over; null: no graphics, so the set-up fails.
    virtual TPresenter* Presenter() { return nullptr; }
    // The system clipboard; null: copy and paste do nothing.
    virtual TClipboard* Clipboard() { return nullptr; }
    // The folders the sounds may be in, the first choice first.
    virtual std::vector<std::string> SoundFolders() const { return {"Sound"}; }
    // Gives up the processor for about `ms` milliseconds.
    virtual void Sleep(uint32_t ms) = 0;
};

using TFrameProc = void (*)();

extern TAppPlatform* g_platform;
extern HWND g_hwnd; // the main window once created; null before and after

// The whole run: window (devices set up inside its creation), settings loaded, the loop until
// WM_QUIT, settings saved. Returns WM_QUIT's code (0), or 1 when the window or its device
// set-up could not be made (the settings file is then left untouched). Not called WinMain:
// mingw makes any function of that name the Windows entry point, whatever its parameters.
int OctavaneWinMain(TAppPlatform& platform, TFrameProc frame);

// Sends WM_DESTROY and takes the window off the screen; it then takes no more messages.
void DestroyWindow(HWND window);
bool IsWindowAlive(HWND window);
// Starts the life of a window just made (its address may be that of one destroyed before).
void AdoptWindow(HWND window);

int64_t MainWndProc(HWND window, uint32_t message, uint64_t wParam, int64_t lParam);

// Handles every waiting message (timers included) before each frame, then runs one frame and
// sleeps 1 ms; never blocks. Returns WM_QUIT's wParam.
int RunMessageLoop(TFrameProc frame);

// One frame: clear, render states, input, the current screen, flip.
void RenderFrame();

// The system mouse pointer shows while the mouse moves and hides kPointerHideMs after its last
// motion, so that a player on the keyboard never sees it. Once per frame after the input poll,
// with that frame's mouse. The window starts with it hidden (WM_CREATE), and ForgetMousePointer
// says so.
inline constexpr uint32_t kPointerHideMs = 2000;
void UpdateMousePointer(HWND window, bool moved, uint32_t now);
void ForgetMousePointer();

// Set-up and release of the window's devices, called from WM_CREATE and WM_CLOSE. Set-up
// returns 0, or non-zero when the graphics could not be set up.
int CreateDevices(HWND window);
void DestroyDevices();
