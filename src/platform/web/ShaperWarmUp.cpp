#include "platform/sdl/ShaperWarmUp.h"

#include <emscripten.h>

// The browser first runs the program's code from a quick compile, and compiles a function fully,
// on a thread of its own, once it has run enough. The text shaper is one large function that
// runs only when a new line is drawn, so it reached that point in the middle of a game, about
// 47 moves in: a quarter of a second of compiling that, on a machine with few cores and no GPU,
// held up the frames of the game. Measuring the same line a few hundred times while the page loads
// brings that compile forward (about a hundred measures reach it in today's Chromium; the rest is
// margin), for about ten milliseconds of loading.

namespace {

constexpr int kWarmUpMeasures = 500;
// Digits and letters, as the game's lines have them.
constexpr const char* kWarmUpLine = "Black 12 - White 34";

// clang-format off
EM_JS(void, ReportShaperWarmUp, (int measures), {
    Module['octavaneShaperMeasures'] = (Module['octavaneShaperMeasures'] || 0) + measures;
});
// clang-format on

} // namespace

void WarmUpShaper(TTF_Font* font) {
    int measured = 0;
    for (int i = 0; i < kWarmUpMeasures; ++i) {
        int width = 0;
        int height = 0;
        if (TTF_SizeUTF8(font, kWarmUpLine, &width, &height) == 0) {
            ++measured;
        }
    }
    ReportShaperWarmUp(measured);
}
