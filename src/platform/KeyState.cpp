#include "platform/KeyState.h"

#include "platform/WindowMessages.h"

#include <utility>

void TKeyState::SetDown(int virtualKey, bool down) {
    if (virtualKey >= 0 && virtualKey < static_cast<int>(Down.size())) {
        Down[static_cast<size_t>(virtualKey)] = down;
        if (down) {
            Pressed[static_cast<size_t>(virtualKey)] = true;
        }
    }
}

bool TKeyState::TakePress(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(Pressed.size())) {
        return false;
    }
    auto take = [this](int key) { return std::exchange(Pressed[static_cast<size_t>(key)], false); };
    if (virtualKey == VK_CONTROL) {
        const bool generic = take(VK_CONTROL);
        const bool left = take(VK_LCONTROL);
        const bool right = take(VK_RCONTROL);
        return generic || left || right;
    }
    if (virtualKey == VK_SHIFT) {
        const bool generic = take(VK_SHIFT);
        const bool left = take(VK_LSHIFT);
        const bool right = take(VK_RSHIFT);
        return generic || left || right;
    }
    return take(virtualKey);
}

bool TKeyState::IsDown(int virtualKey) const {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(Down.size())) {
        return false;
    }
    if (virtualKey == VK_CONTROL) {
        return Down[VK_CONTROL] || Down[VK_LCONTROL] || Down[VK_RCONTROL];
    }
    if (virtualKey == VK_SHIFT) {
        return Down[VK_SHIFT] || Down[VK_LSHIFT] || Down[VK_RSHIFT];
    }
    return Down[static_cast<size_t>(virtualKey)];
}

TKeyState& Keyboard() {
    static TKeyState state;
    return state;
}

int16_t GetAsyncKeyState(int virtualKey) {
    const bool down = Keyboard().IsDown(virtualKey);
    const bool tapped = Keyboard().TakePress(virtualKey);
    return down || tapped ? static_cast<int16_t>(0x8000) : int16_t{0};
}
