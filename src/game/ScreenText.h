#pragma once

#include "platform/Text.h"

#include <cstdint>

// One line of outlined text on the back buffer, after the 3D of the frame and before the flip:
// centred across `rect` (pixels of the 640 x 480 screen) starting at its top, clipped to it, in
// the UTF-8 face name at cell height `height`. The outline is the text drawn four times in black,
// one pixel up, left, down and right, under the coloured text (COLORREF 0x00BBGGRR).
// Returns 0, or the back buffer's error when it cannot be drawn on (nothing is drawn then).
int32_t DrawScreenText(const RECT& rect, const char* text, COLORREF color, const char* face,
                       int height);
