#include "platform/KeyState.h"

#include "platform/WindowMessages.h"

void TKeyState::SetDown(int virtualKey, bool down) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(Down.size())) {
        return;
    }
    const auto key = static_cast<size_t>(virtualKey);
    if (down && !Down[key] && Presses[key] < kMaxPendingPresses) {
        ++Presses[key];
    }
    Down[key] = down;
}

bool TKeyState::TakePress(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(Presses.size())) {
        return false;
    }
    auto take = [this](int key) {
        uint8_t& presses = Presses[static_cast<size_t>(key)];
        if (presses == 0) {
            return false;
        }
        --presses;
        return true;
    };
    if (virtualKey == VK_CONTROL) {
        return take(VK_CONTROL) || take(VK_LCONTROL) || take(VK_RCONTROL);
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
    const bool pressed = Keyboard().TakePress(virtualKey);
    return static_cast<int16_t>((down ? 0x8000 : 0) | (pressed ? 0x0001 : 0));
}
