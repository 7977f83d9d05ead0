#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Which keys are down right now, by virtual-key code: the stand-in for GetAsyncKeyState.
// The window's event translation records every key press and release here, so real and
// synthetic key events count alike; tests press keys here directly.
// Each press (a key going down that was up) is also counted until it is taken, so that taps
// that go down and up between two reads (quick typing during a slow frame) are each seen once.
// A press keeps the modifier keys its event reported, so a shortcut is the one typed even when
// the whole chord, modifier included, came and went between two reads.

// The modifier keys held at a key's press, as a set of bits.
constexpr uint8_t kModShift = 0x01;
constexpr uint8_t kModControl = 0x02;

class TKeyState {
  public:
    // A down for a key that is already down (the system's auto-repeat) is no new press.
    // `modifiers` are those of the key event itself; without them, the Shift and Control keys
    // down here at that moment.
    void SetDown(int virtualKey, bool down, uint8_t modifiers);
    void SetDown(int virtualKey, bool down) { SetDown(virtualKey, down, HeldModifiers()); }
    // VK_CONTROL reads as down while either Control key is down, VK_SHIFT either Shift key.
    bool IsDown(int virtualKey) const;
    // Shift and Control as their keys are down now.
    uint8_t HeldModifiers() const;
    // The modifiers of the press that put the key down; 0 while it is up.
    uint8_t DownModifiers(int virtualKey) const;
    // Takes the oldest of the key's presses not yet taken, even if the key has been released
    // since, and gives the modifiers of its event; false when there is none. VK_CONTROL takes
    // one of either Control key's presses, VK_SHIFT of either Shift key's.
    bool TakePress(int virtualKey, uint8_t* modifiers = nullptr);
    void ReleaseAll() {
        Down.fill(0);
        Presses.fill(TPresses{});
    }

    // Presses kept per key at most; more between two reads are typing far ahead of the game.
    static constexpr uint8_t kMaxPendingPresses = 8;

  private:
    // The presses of one key not yet taken, oldest first, by their modifiers.
    struct TPresses {
        std::array<uint8_t, kMaxPendingPresses> Modifiers{};
        uint8_t Count = 0;
    };
    bool TakeOne(int virtualKey, uint8_t* modifiers);

    // Per key: kDown while down, with the modifiers of the press that put it down.
    static constexpr uint8_t kDown = 0x80;
    std::array<uint8_t, 256> Down{};
    std::array<TPresses, 256> Presses{};
};

// The keyboard state of the program.
TKeyState& Keyboard();

// As GetAsyncKeyState reports it: bit 15 set while the key is down; bit 0 set when the key has
// been pressed since an earlier read (the read takes one press; further ones are left for the
// next reads, one each).
int16_t GetAsyncKeyState(int virtualKey);
