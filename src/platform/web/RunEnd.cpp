#include "platform/sdl/RunEnd.h"

#include <emscripten.h>

namespace {

void NothingLeft(void* /*unused*/) {}

} // namespace

// An empty callback, run by the runtime after main has returned: finding nothing more to wait
// for, the runtime then ends, and the page shows that the game has ended. Without it a run that
// saved its settings at the end (a first visit's, say) left a black canvas until some other
// callback came, and none comes once SDL has let go of the page's events.
void AnnounceRunEnd() {
    emscripten_async_call(NothingLeft, nullptr, 0);
}
