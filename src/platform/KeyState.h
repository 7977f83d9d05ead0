#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Which keys are down right now, by virtual-key code: the stand-in for GetAsyncKeyState.
// The window's event translation records every key press and release here, so real and
// synthetic key events count alike; tests press keys here directly.
// A press is also latched until it is read, so a tap that goes down and up between two reads
// (a quick tap during a slow frame) is still seen once, as down.

class TKeyState {
  public:
    void SetDown(int virtualKey, bool down);
    // VK_CONTROL reads as down while either Control key is down, VK_SHIFT either Shift key.
    bool IsDown(int virtualKey) const;
    // True once for a key pressed since the last time its press was taken, even if it has been
    // released since; VK_CONTROL takes the presses of either Control key, VK_SHIFT of either Shift.
    bool TakePress(int virtualKey);
    void ReleaseAll() {
        Down.fill(false);
        Pressed.fill(false);
    }

  private:
    std::array<bool, 256> Down{};
    std::array<bool, 256> Pressed{};
};

// The keyboard state of the program.
TKeyState& Keyboard();

// Bit 15 set while the key is down, as GetAsyncKeyState reports it, or when it was tapped since
// the last read of that key (the read takes the latched press).
int16_t GetAsyncKeyState(int virtualKey);
