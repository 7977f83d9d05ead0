#include "game/TitleMouse.h"

#include <algorithm>
#include <cstring>

#include "device/Sound.h"
#include "game/GameState.h"
#include "game/TitleLayout.h"
#include "game/TitleScreens.h"

namespace {

constexpr double kScreenMiddle = 320.0;
constexpr int kMaxWaitingWheelSteps = 8;

int g_wheelSteps = 0;

// The line under the mouse, or -1.
int LineAt(double y, int top, int pitch, int lines, int lastBottom) {
    if (y < top) {
        return -1;
    }
    const int line = static_cast<int>((y - top) / pitch);
    if (line < lines - 1) {
        return line;
    }
    return y < lastBottom ? lines - 1 : -1;
}

int HoveredLine() {
    if (!g_mouse.HasPosition) {
        return -1;
    }
    switch (g_titleState) {
    case tsMenu:
        return LineAt(g_mouse.Y, kMenuTop, kMenuPitch, kMenuLines,
                      kMenuTop + kMenuLines * kMenuPitch);
    case tsLevel:
        return LineAt(g_mouse.Y, kListTop, kListPitch, kLevelLines, kLevelLastBottom);
    case tsConfig:
        return LineAt(g_mouse.Y, kListTop, kListPitch, kConfigLines,
                      kListTop + kConfigLines * kListPitch);
    default:
        return -1;
    }
}

// The cursor value that selects `line` of the current panel: the level list's last line keeps
// whichever of "Expert", "Extreme" and "Extreme+" it shows.
int CursorOfLine(int line) {
    if (g_titleState != tsLevel) {
        return line;
    }
    const int cursor = line + 1;
    return cursor < kExpertCursor ? cursor : std::max(g_levelCursor, kExpertCursor);
}

int* PanelCursor() {
    switch (g_titleState) {
    case tsMenu:
        return &g_menuCursor;
    case tsLevel:
        return &g_levelCursor;
    case tsConfig:
        return &g_configCursor;
    default:
        return nullptr;
    }
}

// Selects the line, with the sound an Up or a Down to it makes when `audible`.
void Select(int line, bool audible) {
    int* cursor = PanelCursor();
    const int target = CursorOfLine(line);
    if (cursor == nullptr || *cursor == target) {
        return;
    }
    if (audible) {
        PlaySoundLater(target < *cursor ? sndMove : sndMove2, 0);
    }
    *cursor = target;
}

void Press(int key) {
    g_keyState[key] |= KEY_TRIGGERED;
}

void PressForClick(int line) {
    if (g_titleState == tsTitle) {
        Press(keySpace);
        return;
    }
    if (line < 0) {
        return;
    }
    Select(line, false);
    if (g_titleState == tsConfig && line < kConfigColourLines) {
        Press(g_mouse.X < kScreenMiddle ? keyLeft : keyRight);
    } else {
        Press(keySpace);
    }
}

void PressForWheel() {
    g_wheelSteps =
        std::clamp(g_wheelSteps + g_mouse.Wheel, -kMaxWaitingWheelSteps, kMaxWaitingWheelSteps);
    if (PanelCursor() == nullptr) {
        g_wheelSteps = 0;
        return;
    }
    if (g_wheelSteps > 0) {
        Press(keyUp);
        --g_wheelSteps;
    } else if (g_wheelSteps < 0) {
        Press(keyDown);
        ++g_wheelSteps;
    }
}

} // namespace

void TTitleKeys::Restore() const {
    std::memcpy(g_keyState, Saved, sizeof Saved);
}

TTitleKeys PressTitleKeys() {
    TTitleKeys keys;
    std::memcpy(keys.Saved, g_keyState, sizeof keys.Saved);
    const int line = HoveredLine();
    if (g_mouse.Moved && line >= 0) {
        Select(line, true);
    }
    if (g_mouse.LeftClick) {
        PressForClick(line);
    }
    if (g_mouse.RightClick) {
        Press(keyEnter);
    }
    PressForWheel();
    return keys;
}

void ResetTitleMouse() {
    g_wheelSteps = 0;
}
