#include "platform/KeyState.h"

#include <algorithm>

#include "platform/WindowMessages.h"

namespace {

bool IsKey(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256;
}

} // namespace

void TKeyState::SetDown(int virtualKey, bool down, uint8_t modifiers) {
    if (!IsKey(virtualKey)) {
        return;
    }
    const auto key = static_cast<size_t>(virtualKey);
    modifiers &= kModShift | kModControl;
    const bool wasDown = (Down[key] & kDown) != 0;
    if (down && wasDown) {
        return;
    }
    TPresses& presses = Presses[key];
    if (down && presses.Count < kMaxPendingPresses) {
        presses.Modifiers[presses.Count++] = modifiers;
    }
    Down[key] = down ? static_cast<uint8_t>(kDown | modifiers) : 0;
}

bool TKeyState::TakeOne(int virtualKey, uint8_t* modifiers) {
    TPresses& presses = Presses[static_cast<size_t>(virtualKey)];
    if (presses.Count == 0) {
        return false;
    }
    if (modifiers) {
        *modifiers = presses.Modifiers[0];
    }
    std::copy(presses.Modifiers.begin() + 1, presses.Modifiers.begin() + presses.Count,
              presses.Modifiers.begin());
    --presses.Count;
    return true;
}

bool TKeyState::TakePress(int virtualKey, uint8_t* modifiers) {
    if (!IsKey(virtualKey)) {
        return false;
    }
    if (virtualKey == VK_CONTROL) {
        return TakeOne(VK_CONTROL, modifiers) || TakeOne(VK_LCONTROL, modifiers) ||
               TakeOne(VK_RCONTROL, modifiers);
    }
    if (virtualKey == VK_SHIFT) {
        const bool generic = TakeOne(VK_SHIFT, modifiers);
        const bool left = TakeOne(VK_LSHIFT, modifiers);
        const bool right = TakeOne(VK_RSHIFT, modifiers);
        return generic || left || right;
    }
    return TakeOne(virtualKey, modifiers);
}

bool TKeyState::IsDown(int virtualKey) const {
    if (!IsKey(virtualKey)) {
        return false;
    }
    const auto down = [this](int key) { return (Down[static_cast<size_t>(key)] & kDown) != 0; };
    if (virtualKey == VK_CONTROL) {
        return down(VK_CONTROL) || down(VK_LCONTROL) || down(VK_RCONTROL);
    }
    if (virtualKey == VK_SHIFT) {
        return down(VK_SHIFT) || down(VK_LSHIFT) || down(VK_RSHIFT);
    }
    return down(virtualKey);
}

uint8_t TKeyState::HeldModifiers() const {
    return static_cast<uint8_t>((IsDown(VK_SHIFT) ? kModShift : 0) |
                                (IsDown(VK_CONTROL) ? kModControl : 0));
}

uint8_t TKeyState::DownModifiers(int virtualKey) const {
    return IsKey(virtualKey) ? static_cast<uint8_t>(Down[static_cast<size_t>(virtualKey)] & ~kDown)
                             : 0;
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
