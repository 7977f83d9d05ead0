#pragma once

#include "device/Input.h"
#include "device/Sound.h"

#include <cstdint>

// What the screens ask of the keyboard and the sounds, private to the game module.

// True on the frame on which `key` went down, or repeated (see device/Input.h).
inline bool Triggered(int key) {
    return (g_keyState[key] & KEY_TRIGGERED) != 0;
}

// Asks for sound `id` to start after `delayMs`.
inline void PlaySound(int id, uint32_t delayMs = 0) {
    PlaySoundLater(id, delayMs);
}
