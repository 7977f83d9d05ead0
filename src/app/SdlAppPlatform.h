#pragma once

#include <memory>

#include "app/App.h"
#include "platform/sdl/GlPresenter.h"
#include "platform/sdl/SdlClipboard.h"
#include "platform/sdl/SdlSystem.h"

// The SDL implementations the program runs on: the main window, its events, the first joystick
// and the SDL2_mixer audio. SDL must be started (TSdlSystem) for as long as it lives.
class TSdlAppPlatform final : public TAppPlatform {
  public:
    // `windowed`: the window starts as a resizable window instead of full screen.
    explicit TSdlAppPlatform(bool windowed = false) : Windowed(windowed) {}

    TWindow* CreateMainWindow() override;
    TEventSource* Events() override { return &EventSource; }
    TJoystickSource* Joysticks() override { return &JoystickSource; }
    TAudioSource* Audio() override { return &AudioSource; }
    TClipboard* Clipboard() override { return &SystemClipboard; }
    // Sound/ in the working directory, then share/octavane/Sound beside the executable's folder
    // (where an install puts it, whatever the prefix).
    std::vector<std::string> SoundFolders() const override;
    // OpenGL on the main window, made when the graphics set-up first asks for it.
    TPresenter* Presenter() override;
    void Sleep(uint32_t ms) override;

    TSdlWindow* Window() const { return MainWindow.get(); }

  private:
    bool Windowed;
    std::unique_ptr<TSdlWindow> MainWindow;
    std::unique_ptr<TGlPresenter> Screen; // declared after the window: it goes first
    TSdlEventSource EventSource;
    TSdlJoystickSource JoystickSource;
    TSdlAudioSource AudioSource;
    TSdlClipboard SystemClipboard;
};
