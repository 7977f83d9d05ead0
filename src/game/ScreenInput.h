#pragma once

#include "device/Input.h"
#include "device/Sound.h"

#include <cstdint>

// What the screens ask of the player's input and of the sounds, private to the game module.
//
// The screens act on logical actions, one per InputKey. An action is triggered in a frame when
// the poll set KEY_TRIGGERED in its key state (a new press or an auto-repeat step), or when the
// mouse did the same thing on the screen that runs: a click on a line is that line's Space, a
// right click is Enter. The mouse's share is kept apart from the polled key states, which only
// the poll writes.

// True when `key`'s action is triggered in this frame, by the keys or by the mouse.
bool Triggered(int key);

// Forgets the mouse's actions; before each frame's screens read the mouse.
void ClearMouseActions();
// Triggers `key`'s action for the rest of this frame, on behalf of the mouse (or of another
// action that means that key on the screen that runs).
void TriggerByMouse(int key);

// Asks for sound `id` to start after `delayMs`.
inline void PlaySound(int id, uint32_t delayMs = 0) {
    PlaySoundLater(id, delayMs);
}
