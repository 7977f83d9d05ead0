#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/App.h"
#include "platform/Clock.h"
#include "platform/RecordingDevice3D.h"
#include "platform/RecordingPresent.h"
#include "platform/RecordingText.h"
#include "platform/WindowMessages.h"

// A window that remembers what was done to it.
class TFakeWindow final : public TWindow {
  public:
    void ShowCursor(bool visible) override {
        Log->push_back(visible ? "cursor on" : "cursor off");
        if (OnShowCursor) {
            OnShowCursor(visible);
        }
    }
    std::function<void(bool)> OnShowCursor;
    void Destroy() override {
        Log->push_back("destroy");
        Destroyed = true;
    }
    std::vector<std::string>* Log = nullptr;
    bool Destroyed = false;
};

// Platform events queued by the test, handed out one per Next call.
class TFakeEvents final : public TEventSource {
  public:
    bool Next(TMessage& message) override {
        if (Pending.empty()) {
            return false;
        }
        message = Pending.front();
        Pending.erase(Pending.begin());
        return true;
    }
    void PushEscape() { Pending.push_back(TMessage{nullptr, WM_KEYDOWN, VK_ESCAPE, 0}); }
    void PushClose() { Pending.push_back(TMessage{nullptr, WM_CLOSE, 0, 0}); }
    std::vector<TMessage> Pending;
};

// The platform with a manual clock: each 1 ms sleep of the loop moves it on by 1 ms.
class TFakePlatform final : public TAppPlatform {
  public:
    TFakePlatform() { Window.Log = &Log; }
    TWindow* CreateMainWindow() override {
        Log.push_back("create window");
        return CanCreate ? &Window : nullptr;
    }
    TEventSource* Events() override { return &EventSource; }
    TJoystickSource* Joysticks() override { return nullptr; }
    TAudioSource* Audio() override { return nullptr; }
    TPresenter* Presenter() override { return &Screen; }
    void Sleep(uint32_t ms) override {
        Log.push_back("sleep");
        Clock.Advance(ms);
    }
    std::vector<std::string> Log;
    TFakeWindow Window;
    TFakeEvents EventSource;
    TManualClock Clock{1000};
    bool CanCreate = true;
    // The graphics set-up runs on recording devices.
    TRecordingLog GraphicsLog;
    TRecordingDirect3D Direct3D{GraphicsLog};
    TRecordingText Text;
    TRecordingPresenter Screen{&Direct3D, &Text};
};
