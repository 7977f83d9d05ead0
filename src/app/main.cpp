#include <cstdio>

#include "app/App.h"
#include "app/SdlAppPlatform.h"

int main() {
    TSdlSystem sdl;
    if (!sdl.IsReady()) {
        std::fprintf(stderr, "Octavane: cannot start SDL: %s\n", sdl.Error());
        return 0; // as a window that cannot be made: nothing ran, nothing is saved
    }
    TSdlClock clock;
    TScopedClock useClock(clock);
    TSdlAppPlatform platform;
    return WinMain(platform, RenderFrame);
}
