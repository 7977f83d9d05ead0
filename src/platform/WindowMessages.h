#pragma once

#include <cstdint>

#include "platform/Timers.h"

// The window messages the program handles, with their Windows values, and the message queue
// that the main loop drains before each frame. Platform events (key presses, the system's
// close request) arrive through a TEventSource that turns them into these messages.

constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_TIMER = 0x0113;

// Virtual-key codes of the keys the program reads; a letter's code is its capital's.
constexpr int VK_BACK = 0x08;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_A = 0x41;
constexpr int VK_C = 0x43;
constexpr int VK_H = 0x48;
constexpr int VK_L = 0x4C;
constexpr int VK_V = 0x56;
constexpr int VK_Y = 0x59;
constexpr int VK_Z = 0x5A;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;

// The one main window, as far as the program's logic needs it.
class TWindow {
  public:
    virtual ~TWindow() = default;
    virtual void ShowCursor(bool visible) = 0;
    // Takes the window off the screen; the window procedure has already seen WM_DESTROY.
    virtual void Destroy() = 0;
};

using HWND = TWindow*;
using TWndProc = int64_t (*)(HWND window, uint32_t message, uint64_t wParam, int64_t lParam);

struct TMessage {
    HWND Window = nullptr;
    uint32_t Message = 0;
    uint64_t WParam = 0;
    int64_t LParam = 0;
    TTimerProc TimerProc = nullptr; // WM_TIMER only
};

// Turns waiting platform events into window messages. Events that only change state (a key
// release, a key press other than Escape) are absorbed and produce no message.
class TEventSource {
  public:
    virtual ~TEventSource() = default;
    // Takes the next waiting event as a message; false when no event that makes one waits.
    virtual bool Next(TMessage& message) = 0;
};

// Installs the event source (not owned) and the window procedure that receives dispatched
// messages for `window`. Null detaches them.
void SetMessageTarget(TEventSource* events, HWND window, TWndProc proc);

// Takes the next waiting message without blocking: posted messages first (WM_QUIT), then
// platform events, then due timers. False when nothing waits.
bool PeekMessage(TMessage& message);

// Runs a timer's procedure for WM_TIMER, the window procedure for everything else.
void DispatchMessage(const TMessage& message);

// Sends a message straight to the window procedure and returns its result.
int64_t SendMessage(HWND window, uint32_t message, uint64_t wParam = 0, int64_t lParam = 0);

// Queues a message for the loop to dispatch before the next frame.
void PostMessage(HWND window, uint32_t message, uint64_t wParam = 0, int64_t lParam = 0);

// Queues WM_QUIT with `exitCode` as its wParam.
void PostQuitMessage(int exitCode);

// Drops posted messages and disarms every timer (start of a run, or between tests).
void ResetMessageQueue();
