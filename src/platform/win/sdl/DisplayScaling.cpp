#include "platform/sdl/DisplayScaling.h"

#include <SDL.h>

void PrepareDisplayScaling() {
    // The exe's manifest makes the process per-monitor (v2) aware before any window exists;
    // SDL is told the same, for a copy of the program started without its manifest.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    // SDL's coordinates in points and the GL drawable in pixels; on WM_DPICHANGED SDL resizes
    // the window so that its client area keeps its size in points. A user's environment
    // variable of the same name still wins.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
}
