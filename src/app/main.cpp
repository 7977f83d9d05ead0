#include <cstdio>
#include <iostream>

#include "app/App.h"
#include "app/CommandLine.h"
#include "app/SdlAppPlatform.h"
#include "app/SolveCommand.h"
#include "platform/DriverChoice.h"
#include "platform/sdl/RunEnd.h"
#include "platform/sdl/SdlDisplay.h"

namespace {

// Without a display the window could not be seen: the start fails, and says why.
constexpr int kExitNoDisplay = 1;

} // namespace

int main(int argc, char** argv) {
    // 1. The command line, before SDL: --help, --version and --solve need no display.
    const TCommandLine line = ParseCommandLine(argc, argv);
    switch (line.Action) {
    case TCommandAction::Help:
        std::fputs(UsageText(), stdout);
        return 0;
    case TCommandAction::Version:
        std::printf("%s\n", VersionText());
        return 0;
    case TCommandAction::Solve:
        return SolveFile(line.SolveFile, std::cout, std::cerr);
    case TCommandAction::Error:
        std::fprintf(stderr, "Octavane: %s\n", line.Problem.c_str());
        std::fputs(UsageText(), stderr);
        return kExitBadCommandLine;
    case TCommandAction::Run:
        break;
    }
    // 2. SDL and a display to open the window on, once the environment holds nothing a library
    // would misread.
    DropRelativeXdgVariables();
    TSdlSystem sdl;
    if (!sdl.IsReady()) {
        std::fprintf(stderr, "Octavane: cannot start SDL: %s\n", sdl.Error());
        return 0; // as a window that cannot be made: nothing ran, nothing is saved
    }
    if (const std::string reason = SdlNoDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "Octavane: no display to open the window on: %s\n", reason.c_str());
        return kExitNoDisplay;
    }
    // 3. The game.
    TSdlClock clock;
    TScopedClock useClock(clock);
    TSdlAppPlatform platform(line.Windowed);
    const int exitCode = OctavaneWinMain(platform, RenderFrame);
    AnnounceRunEnd();
    return exitCode;
}
