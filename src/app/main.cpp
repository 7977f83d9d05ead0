#include <cstdio>

#include "app/App.h"
#include "app/SdlAppPlatform.h"
#include "platform/sdl/SdlDisplay.h"

namespace {

// Without a display the window could not be seen: the start fails, and says why.
constexpr int kExitNoDisplay = 1;

} // namespace

int main() {
    TSdlSystem sdl;
    if (!sdl.IsReady()) {
        std::fprintf(stderr, "Octavane: cannot start SDL: %s\n", sdl.Error());
        return 0; // as a window that cannot be made: nothing ran, nothing is saved
    }
    if (const std::string reason = SdlNoDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "Octavane: no display to open the window on: %s\n", reason.c_str());
        return kExitNoDisplay;
    }
    TSdlClock clock;
    TScopedClock useClock(clock);
    TSdlAppPlatform platform;
    return WinMain(platform, RenderFrame);
}
