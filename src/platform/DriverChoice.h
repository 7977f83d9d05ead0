#pragma once

#include <string>
#include <string_view>
#include <vector>

// Which of SDL's video and audio drivers to try, decided before SDL starts. Left to itself SDL
// tries every driver in turn, and some of them, failing, make their libraries write to standard
// error: the Wayland client library when it has no runtime folder to find a compositor in, and
// ALSA (and sndio, which plays through ALSA on Linux) on a machine without a sound card. A
// driver that cannot work there is left out of the list, so a failure is reported once, in the
// program's own words. Each function returns the comma-separated list for SDL's driver hint:
// every driver of `drivers` (SDL's own list, in its order) but those left out, or "" when the
// user chose with SDL_VIDEODRIVER or SDL_AUDIODRIVER (`requested` set and not empty) or when
// nothing needs leaving out.

// Wayland can be reached when WAYLAND_DISPLAY names its socket by an absolute path, or when
// XDG_RUNTIME_DIR is set (the folder a named socket, or "wayland-0", is looked up in).
bool WaylandReachable(const char* wayland, const char* runtimeDir);

std::string VideoDriverChoice(const std::vector<std::string>& drivers, const char* requested,
                              const char* wayland, const char* runtimeDir);

// `soundCard`: whether the machine has an ALSA playback device. SDL's drivers that it only
// uses when asked by name (disk, dummy) are never put in the list. Where SDL has no driver that
// goes through ALSA (Windows, the browser) nothing is left out.
std::string AudioDriverChoice(const std::vector<std::string>& drivers, const char* requested,
                              bool soundCard);

// Whether the device folder `devSnd` (/dev/snd) holds a PCM device.
bool HasSoundCard(const std::string& devSnd);

// The XDG base directory variables set to a relative path. The XDG rules say such a value is
// to be ignored, and the program does; a library that does not would make folders under the
// working directory. `get` reads a variable (std::getenv in the program).
std::vector<std::string> RelativeXdgVariables(const char* (*get)(const char*));

// Removes those variables from the environment, before any library reads them.
void DropRelativeXdgVariables();
