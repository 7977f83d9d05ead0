#include <SDL.h>
#include <cstdio>
#include <memory>

#include "app/App.h"
#include "platform/sdl/SdlSystem.h"

namespace {

// The SDL implementations the program runs on.
class TSdlAppPlatform final : public TAppPlatform {
  public:
    TWindow* CreateMainWindow() override {
        Window = TSdlWindow::Create("Octavane");
        return Window.get();
    }
    TEventSource* Events() override { return &EventSource; }
    TJoystickSource* Joysticks() override { return &JoystickSource; }
    TAudioSource* Audio() override { return &AudioSource; }
    void Sleep(uint32_t ms) override { SDL_Delay(ms); }
    void ShowBlack() override {
        if (Window) {
            Window->ShowBlack();
        }
    }

  private:
    std::unique_ptr<TSdlWindow> Window;
    TSdlEventSource EventSource;
    TSdlJoystickSource JoystickSource;
    TSdlAudioSource AudioSource;
};

} // namespace

int main() {
    TSdlSystem sdl;
    if (!sdl.IsReady()) {
        std::fprintf(stderr, "Octavane: cannot start SDL: %s\n", sdl.Error());
        return 1;
    }
    TSdlClock clock;
    TScopedClock useClock(clock);
    TSdlAppPlatform platform;
    return WinMain(platform, RenderFrame);
}
