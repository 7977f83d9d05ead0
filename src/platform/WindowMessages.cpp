#include "platform/WindowMessages.h"

#include <deque>

#include "platform/Clock.h"

namespace {

TEventSource* g_events = nullptr;
HWND g_targetWindow = nullptr;
TWndProc g_targetProc = nullptr;
std::deque<TMessage> g_posted;

} // namespace

void SetMessageTarget(TEventSource* events, HWND window, TWndProc proc) {
    g_events = events;
    g_targetWindow = window;
    g_targetProc = proc;
}

bool PeekMessage(TMessage& message) {
    if (!g_posted.empty()) {
        message = g_posted.front();
        g_posted.pop_front();
        if (!message.Window && message.Message != WM_QUIT) {
            message.Window = g_targetWindow;
        }
        return true;
    }
    if (g_events && g_events->Next(message)) {
        if (!message.Window) {
            message.Window = g_targetWindow;
        }
        return true;
    }
    uint32_t id = 0;
    TTimerProc proc = nullptr;
    if (MainTimers().TakeDue(GetTickCount(), id, proc)) {
        message = TMessage{g_targetWindow, WM_TIMER, id, 0, proc};
        return true;
    }
    return false;
}

void DispatchMessage(const TMessage& message) {
    if (message.Message == WM_TIMER) {
        if (message.TimerProc) {
            message.TimerProc(static_cast<uint32_t>(message.WParam));
        }
        return;
    }
    if (g_targetProc) {
        g_targetProc(message.Window, message.Message, message.WParam, message.LParam);
    }
}

int64_t SendMessage(HWND window, uint32_t message, uint64_t wParam, int64_t lParam) {
    return g_targetProc ? g_targetProc(window, message, wParam, lParam) : 0;
}

void PostMessage(HWND window, uint32_t message, uint64_t wParam, int64_t lParam) {
    g_posted.push_back(TMessage{window, message, wParam, lParam});
}

void PostQuitMessage(int exitCode) {
    g_posted.push_back(
        TMessage{nullptr, WM_QUIT, static_cast<uint64_t>(static_cast<uint32_t>(exitCode)), 0});
}

void ResetMessageQueue() {
    g_posted.clear();
    MainTimers().Clear();
}
