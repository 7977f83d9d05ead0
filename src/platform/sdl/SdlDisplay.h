#pragma once

#include <string>

// NoDisplayReason (platform/Display.h) for the video driver SDL has started; SDL's video must be
// initialised.
std::string SdlNoDisplayReason();
