#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Which keys are down right now, by virtual-key code: the stand-in for GetAsyncKeyState.
// The window's event translation records every key press and release here, so real and
// synthetic key events count alike; tests press keys here directly.
// Each press (a key going down that was up) is also counted until it is taken, so that taps
// that go down and up between two reads (quick typing during a slow frame) are each seen once.

class TKeyState {
  public:
    // A down for a key that is already down (the system's auto-repeat) is no new press.
    void SetDown(int virtualKey, bool down);
    // VK_CONTROL reads as down while either Control key is down, VK_SHIFT either Shift key.
    bool IsDown(int virtualKey) const;
    // Takes one of the key's presses not yet taken, even if the key has been released since;
    // false when there is none. VK_CONTROL takes one of either Control key's presses, VK_SHIFT
    // of either Shift key's.
    bool TakePress(int virtualKey);
    void ReleaseAll() {
        Down.fill(false);
        Presses.fill(0);
    }

    // Presses kept per key at most; more between two reads are typing far ahead of the game.
    static constexpr uint8_t kMaxPendingPresses = 8;

  private:
    std::array<bool, 256> Down{};
    std::array<uint8_t, 256> Presses{};
};

// The keyboard state of the program.
TKeyState& Keyboard();

// As GetAsyncKeyState reports it: bit 15 set while the key is down; bit 0 set when the key has
// been pressed since an earlier read (the read takes one press; further ones are left for the
// next reads, one each).
int16_t GetAsyncKeyState(int virtualKey);
