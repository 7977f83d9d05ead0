#pragma once

#include <string>
#include <string_view>

// Whether the video driver SDL started can show the program's window to anyone. Without a
// display server SDL falls back to a headless driver (offscreen, dummy): the program would then
// run, unseen, until killed. A headless driver is right only when SDL_VIDEODRIVER names it, as
// the tests do.
//
// `driver` is the driver in use, `requested` the value of SDL_VIDEODRIVER (a comma-separated
// list, or null), `display` and `wayland` the values of DISPLAY and WAYLAND_DISPLAY (or null).
// Returns an empty string when the window can be shown; otherwise why not, in words that name
// the display variables, for a line on standard error.
std::string NoDisplayReason(std::string_view driver, const char* requested, const char* display,
                            const char* wayland);
