#include "game/ScreenInput.h"

#include <algorithm>
#include <iterator>

namespace {

bool g_mouseActions[keyCount] = {};

bool IsKey(int key) {
    return key >= 0 && key < keyCount;
}

} // namespace

bool Triggered(int key) {
    return IsKey(key) && ((g_keyState[key] & KEY_TRIGGERED) != 0 || g_mouseActions[key]);
}

void ClearMouseActions() {
    std::fill(std::begin(g_mouseActions), std::end(g_mouseActions), false);
}

void TriggerByMouse(int key) {
    if (IsKey(key)) {
        g_mouseActions[key] = true;
    }
}
