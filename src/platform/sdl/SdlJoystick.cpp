#include <SDL.h>
#include <algorithm>
#include <iterator>

#include "platform/sdl/SdlSystem.h"

int32_t ScaleSdlAxis(int16_t value) {
    const int32_t scaled = int32_t{value} * 1000 / 32767;
    return std::clamp(scaled, -1000, 1000);
}

namespace {

constexpr uint8_t kButtonDown = 0x80;

class TSdlGamepad final : public TJoystick {
  public:
    explicit TSdlGamepad(SDL_GameController* pad) : Pad(pad) {}
    ~TSdlGamepad() override { SDL_GameControllerClose(Pad); }

    void Poll() override { SDL_GameControllerUpdate(); }

    bool GetState(TJoyState& state) override {
        if (!SDL_GameControllerGetAttached(Pad)) {
            return false;
        }
        state = TJoyState{};
        state.X = ScaleSdlAxis(SDL_GameControllerGetAxis(Pad, SDL_CONTROLLER_AXIS_LEFTX));
        state.Y = ScaleSdlAxis(SDL_GameControllerGetAxis(Pad, SDL_CONTROLLER_AXIS_LEFTY));
        // The d-pad steers too, as a fully deflected stick.
        if (Pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) {
            state.X = -1000;
        } else if (Pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) {
            state.X = 1000;
        }
        if (Pressed(SDL_CONTROLLER_BUTTON_DPAD_UP)) {
            state.Y = -1000;
        } else if (Pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) {
            state.Y = 1000;
        }
        const SDL_GameControllerButton faces[] = {SDL_CONTROLLER_BUTTON_A,
                                                  SDL_CONTROLLER_BUTTON_B,
                                                  SDL_CONTROLLER_BUTTON_X,
                                                  SDL_CONTROLLER_BUTTON_Y,
                                                  SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                  SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                  SDL_CONTROLLER_BUTTON_BACK,
                                                  SDL_CONTROLLER_BUTTON_START};
        for (int i = 0; i < static_cast<int>(std::size(faces)); ++i) {
            state.Buttons[i] = Pressed(faces[i]) ? kButtonDown : 0;
        }
        return true;
    }

  private:
    bool Pressed(SDL_GameControllerButton button) const {
        return SDL_GameControllerGetButton(Pad, button) != 0;
    }
    SDL_GameController* Pad;
};

class TSdlPlainJoystick final : public TJoystick {
  public:
    explicit TSdlPlainJoystick(SDL_Joystick* stick) : Stick(stick) {}
    ~TSdlPlainJoystick() override { SDL_JoystickClose(Stick); }

    void Poll() override { SDL_JoystickUpdate(); }

    bool GetState(TJoyState& state) override {
        if (!SDL_JoystickGetAttached(Stick)) {
            return false;
        }
        state = TJoyState{};
        const int axes = SDL_JoystickNumAxes(Stick);
        state.X = axes > 0 ? ScaleSdlAxis(SDL_JoystickGetAxis(Stick, 0)) : 0;
        state.Y = axes > 1 ? ScaleSdlAxis(SDL_JoystickGetAxis(Stick, 1)) : 0;
        const int buttons = std::min(SDL_JoystickNumButtons(Stick), 32);
        for (int i = 0; i < buttons; ++i) {
            state.Buttons[i] = SDL_JoystickGetButton(Stick, i) ? kButtonDown : 0;
        }
        return true;
    }

  private:
    SDL_Joystick* Stick;
};

} // namespace

std::unique_ptr<TJoystick> TSdlJoystickSource::OpenFirstAttached() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        return nullptr;
    }
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_IsGameController(index)) {
            if (SDL_GameController* pad = SDL_GameControllerOpen(index)) {
                return std::make_unique<TSdlGamepad>(pad);
            }
        } else if (SDL_Joystick* stick = SDL_JoystickOpen(index)) {
            return std::make_unique<TSdlPlainJoystick>(stick);
        }
    }
    return nullptr;
}
