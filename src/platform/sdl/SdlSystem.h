#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/Joystick.h"
#include "platform/Mixer.h"
#include "platform/WindowMessages.h"

struct SDL_Window;

// SDL2 itself for the life of the program: video and events. Joystick and audio subsystems are
// opened on demand by their sources, and a machine without them runs on without. The video
// drivers that cannot work here are left out first (VideoDriverChoice).
class TSdlSystem {
  public:
    TSdlSystem();
    ~TSdlSystem();
    TSdlSystem(const TSdlSystem&) = delete;
    TSdlSystem& operator=(const TSdlSystem&) = delete;

    bool IsReady() const { return Ready; }
    // Why the start failed, when it did.
    const char* Error() const;

  private:
    bool Ready = false;
};

// SDL's millisecond tick count, truncated to 32 bits like GetTickCount.
class TSdlClock final : public TClockSource {
  public:
    uint32_t Now() const override;
};

// The size of the main window when it is not full screen, in the window system's points; on a
// display too small for it, the largest 4:3 size that fits.
inline constexpr int kWindowedWidth = 960;
inline constexpr int kWindowedHeight = 720;

// The main window: borderless full screen at the desktop's size, or a resizable window of
// kWindowedWidth x kWindowedHeight, ready for an OpenGL 3.3 core context with a 16-bit depth
// buffer. Destroy takes it off the screen; the object stays.
class TSdlWindow final : public TWindow {
  public:
    // Null, with the reason on standard error, when the window cannot be made.
    static std::unique_ptr<TSdlWindow> Create(const char* title, bool windowed = false);
    ~TSdlWindow() override;

    SDL_Window* Handle() const { return Window; }
    void ShowCursor(bool visible) override;
    void Destroy() override;

  private:
    explicit TSdlWindow(SDL_Window* window) : Window(window) {}
    SDL_Window* Window;
};

// Switches `window` from full screen to a centred resizable window of the windowed size, or from
// a window (of any size) to full screen at its display's size. The GL context and what is drawn
// stay; the next frame fills the new size.
void ToggleFullScreen(SDL_Window* window);

// Turns SDL events into window messages: every Escape key-down (auto-repeats included) is
// WM_KEYDOWN VK_ESCAPE, the system's close request is WM_CLOSE, and every key press and release
// is recorded in Keyboard() on the way, a press with the Shift and Control its event reports. F11
// and Alt+Enter switch the window between full screen and a window (ToggleFullScreen) and never
// reach Keyboard(); their auto-repeats do nothing.
class TSdlEventSource final : public TEventSource {
  public:
    bool Next(TMessage& message) override;
};

// The virtual-key code of an SDL key, or 0 when the program does not read it.
int VirtualKeyFromSdl(int32_t sdlKey);

// The first joystick or gamepad attached at start-up. A recognised gamepad reads its left
// stick (or its d-pad) as the axes, A, B, X, Y as buttons 0..3 and its left and right shoulder
// buttons as 4 and 5; any other joystick reads its first two axes and its buttons in order.
// Axes are scaled to -1000..1000.
class TSdlJoystickSource final : public TJoystickSource {
  public:
    std::unique_ptr<TJoystick> OpenFirstAttached() override;
};

// SDL2_mixer on the default audio device: 44.1 kHz 16-bit stereo, one channel per voice, each
// sound converted once to that format when loaded. Without a sound card SDL is kept from the
// drivers that only reach one through ALSA (AudioDriverChoice), so that ALSA says nothing.
class TSdlAudioSource final : public TAudioSource {
  public:
    std::unique_ptr<TMixer> Open(int channels, std::string& whyNot) override;
};

// Scales an SDL axis value (-32768..32767) to -1000..1000.
int32_t ScaleSdlAxis(int16_t value);
