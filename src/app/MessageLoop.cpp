#include "app/App.h"

namespace {

constexpr uint32_t kFrameSleepMs = 1;

} // namespace

int RunMessageLoop(TFrameProc frame) {
    TMessage message;
    for (;;) {
        // Every waiting message first, timers included, then one frame.
        if (PeekMessage(message)) {
            if (message.Message == WM_QUIT) {
                return static_cast<int>(message.WParam);
            }
            DispatchMessage(message);
            continue;
        }
        frame();
        g_platform->Sleep(kFrameSleepMs);
    }
}
