#include "app/App.h"

namespace {

bool g_pointerShown = false;
uint32_t g_lastMotion = 0;

} // namespace

void UpdateMousePointer(HWND window, bool moved, uint32_t now) {
    if (window == nullptr) {
        return;
    }
    if (moved) {
        g_lastMotion = now;
        if (!g_pointerShown) {
            window->ShowCursor(true);
            g_pointerShown = true;
        }
    } else if (g_pointerShown && now - g_lastMotion >= kPointerHideMs) {
        window->ShowCursor(false);
        g_pointerShown = false;
    }
}

void ForgetMousePointer() {
    g_pointerShown = false;
}
