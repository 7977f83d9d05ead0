#pragma once

#include <cstdint>
#include <memory>

// The joystick as the input poll sees it: two axes scaled to -1000..1000 and 32 buttons,
// each down while bit 7 of its byte is set (the layout of a DIJOYSTATE's fields we use).

struct TJoyState {
    int32_t X = 0;
    int32_t Y = 0;
    uint8_t Buttons[32] = {};
};

class TJoystick {
  public:
    virtual ~TJoystick() = default;
    // Refreshes the device's state from the hardware.
    virtual void Poll() = 0;
    // Fills `state`; false when the device cannot be read (unplugged), `state` then untouched.
    virtual bool GetState(TJoyState& state) = 0;
};

// Finds joysticks at start-up.
class TJoystickSource {
  public:
    virtual ~TJoystickSource() = default;
    // The first joystick or gamepad attached now, ready to read; null when there is none.
    virtual std::unique_ptr<TJoystick> OpenFirstAttached() = 0;
};
