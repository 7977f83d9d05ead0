#include "platform/sdl/DisplayFrame.h"

#include <emscripten.h>

// The program's loop yields to the browser until its next animation frame (ASYNCIFY), so that
// each frame is drawn once for each picture the page shows. A page the browser does not show
// gets no animation frames: the timer keeps the game going there, as slowly as the browser
// lets a hidden page's timers run, and never draws faster than that.
EM_ASYNC_JS(void, WaitForAnimationFrame, (int longestWaitMs), {
    await new Promise(function(resolve) {
        var timer = setTimeout(resolve, longestWaitMs);
        requestAnimationFrame(function() {
            clearTimeout(timer);
            resolve();
        });
    });
});

namespace {

// Past this, the page is taken to be hidden (or its browser to show no pictures at all).
constexpr int kLongestDisplayWaitMs = 250;

} // namespace

bool WaitForDisplayFrame() {
    WaitForAnimationFrame(kLongestDisplayWaitMs);
    return true;
}
