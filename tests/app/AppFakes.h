#pragma once

#include <string>
#include <vector>

#include "app/App.h"
#include "platform/Clock.h"
#include "platform/WindowMessages.h"
#include "platform/recording/RecordingDevice3D.h"
#include "platform/recording/RecordingPresent.h"
#include "platform/recording/RecordingText.h"

// A window that logs what was done to it.
class TFakeWindow final : public TWindow {
  public:
    void ShowCursor(bool visible) override { Log->push_back(visible ? "cursor on" : "cursor off"); }
    void Destroy() override { Log->push_back("destroy"); }
    std::vector<std::string>* Log = nullptr;
};

// The platform with messages queued by the test and a manual clock that each sleep of the loop
// moves on; the graphics set-up runs on recording devices.
class TFakePlatform final : public TAppPlatform, public TEventSource {
  public:
    TFakePlatform() { Window.Log = &Log; }
    TWindow* CreateMainWindow() override { return CanCreate ? &Window : nullptr; }
    TEventSource* Events() override { return this; }
    bool Next(TMessage& message) override {
        if (Pending.empty()) {
            return false;
        }
        message = {nullptr, Pending.front(), 0, 0};
        Pending.erase(Pending.begin());
        return true;
    }
    TJoystickSource* Joysticks() override { return nullptr; }
    TAudioSource* Audio() override { return nullptr; }
    TPresenter* Presenter() override { return &Screen; }
    void Sleep(uint32_t ms) override {
        Log.push_back("sleep");
        Clock.Advance(ms);
    }
    std::vector<std::string> Log;
    std::vector<uint32_t> Pending; // messages without parameters
    TFakeWindow Window;
    TManualClock Clock{1000};
    bool CanCreate = true;
    TRecordingLog GraphicsLog;
    TRecordingDirect3D Direct3D{GraphicsLog};
    TRecordingText Text;
    TRecordingPresenter Screen{&Direct3D, &Text};
};
