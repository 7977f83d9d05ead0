#include "app/App.h"
#include "game/GameState.h"
#include "platform/Clock.h"

namespace {

HWND g_destroyedWindow = nullptr;

int64_t OnEscape(HWND window) {
    if (g_scene == sceneTitle) {
        // Title, menu, level list and configuration alike: Escape quits.
        SendMessage(window, WM_CLOSE);
        g_stateTime = GetTickCount();
    } else {
        // The game in progress is abandoned and the title starts over on the next frame.
        ReturnToTitle();
    }
    return 0;
}

} // namespace

void AdoptWindow(HWND window) {
    if (g_destroyedWindow == window) {
        g_destroyedWindow = nullptr;
    }
}

bool IsWindowAlive(HWND window) {
    return window && window != g_destroyedWindow;
}

void DestroyWindow(HWND window) {
    if (!IsWindowAlive(window)) {
        return;
    }
    SendMessage(window, WM_DESTROY);
    g_destroyedWindow = window;
    window->Destroy();
}

int64_t MainWndProc(HWND window, uint32_t message, uint64_t wParam, int64_t /*lParam*/) {
    if (window == g_destroyedWindow && message != WM_DESTROY) {
        return 0; // a close request that was already waiting when the window went
    }
    switch (message) {
    case WM_CREATE:
        window->ShowCursor(false);
        ForgetMousePointer();
        if (CreateDevices(window) != 0) {
            SendMessage(window, WM_CLOSE);
        }
        return 0;
    case WM_CLOSE:
        DestroyDevices();
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        window->ShowCursor(true);
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        return wParam == VK_ESCAPE ? OnEscape(window) : 0;
    default:
        return 0;
    }
}
