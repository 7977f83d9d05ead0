#pragma once

#include <cstdint>

#include "device/Input.h"

// The mouse on the title screens, as the keys that do the same there: hovering a menu, level or
// configuration line selects it (with the sound of the step), a left click on a line chooses it
// as Space does (on the prompt anywhere; on a colour line as Left on its left half and Right on
// its right half), a right click is Enter and each wheel step is an Up or a Down. The line
// bands follow the panels' layout, across the whole screen.
//
// PressTitleKeys runs before the title screens read their keys and presses the keys of this
// frame's mouse in g_keyState; the TTitleKeys it returns puts the polled states back afterwards,
// so the next poll still sees only the real keys.
class TTitleKeys {
  public:
    void Restore() const;

  private:
    friend TTitleKeys PressTitleKeys();
    uint8_t Saved[keyCount] = {};
};

TTitleKeys PressTitleKeys();

// Forgets wheel steps still waiting to be taken (they are taken one a frame).
void ResetTitleMouse();
