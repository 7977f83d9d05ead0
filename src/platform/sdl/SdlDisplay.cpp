#include "platform/sdl/SdlDisplay.h"

#include <SDL.h>
#include <cstdlib>

#include "platform/Display.h"

std::string SdlNoDisplayReason() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return NoDisplayReason(driver ? driver : "", std::getenv("SDL_VIDEODRIVER"),
                           std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
}
