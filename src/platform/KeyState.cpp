#include "platform/KeyState.h"

#include "platform/WindowMessages.h"

void TKeyState::SetDown(int virtualKey, bool down) {
    if (virtualKey >= 0 && virtualKey < static_cast<int>(Down.size())) {
        Down[static_cast<size_t>(virtualKey)] = down;
    }
}

bool TKeyState::IsDown(int virtualKey) const {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(Down.size())) {
        return false;
    }
    if (virtualKey == VK_CONTROL) {
        return Down[VK_CONTROL] || Down[VK_LCONTROL] || Down[VK_RCONTROL];
    }
    return Down[static_cast<size_t>(virtualKey)];
}

TKeyState& Keyboard() {
    static TKeyState state;
    return state;
}

int16_t GetAsyncKeyState(int virtualKey) {
    return Keyboard().IsDown(virtualKey) ? static_cast<int16_t>(0x8000) : int16_t{0};
}
