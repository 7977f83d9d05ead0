#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Which keys are down right now, by virtual-key code: the stand-in for GetAsyncKeyState.
// The window's event translation records every key press and release here, so real and
// synthetic key events count alike; tests press keys here directly.

class TKeyState {
  public:
    void SetDown(int virtualKey, bool down);
    // VK_CONTROL reads as down while either Control key is down.
    bool IsDown(int virtualKey) const;
    void ReleaseAll() { Down.fill(false); }

  private:
    std::array<bool, 256> Down{};
};

// The keyboard state of the program.
TKeyState& Keyboard();

// Bit 15 set while the key is down, as GetAsyncKeyState reports it.
int16_t GetAsyncKeyState(int virtualKey);
