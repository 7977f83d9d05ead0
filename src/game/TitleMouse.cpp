#include "game/TitleMouse.h"

#include <algorithm>

#include "device/Sound.h"
#include "game/GameState.h"
#include "game/ScreenInput.h"
#include "game/TextItems.h"
#include "game/TitleLayout.h"
#include "game/TitleScreens.h"

namespace {

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
// whichever of "Expert", "Extreme", "Extreme+" and "Master" it shows.
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

void ClickActions(int line) {
    if (g_titleState == tsTitle) {
        TriggerByMouse(keySpace);
        return;
    }
    if (line < 0) {
        return;
    }
    Select(line, false);
    if (g_titleState == tsConfig && line < kConfigColourLines) {
        TriggerByMouse(g_mouse.X < kScreenMiddleX ? keyLeft : keyRight);
    } else {
        TriggerByMouse(keySpace);
    }
}

void WheelActions() {
    g_wheelSteps =
        std::clamp(g_wheelSteps + g_mouse.Wheel, -kMaxWaitingWheelSteps, kMaxWaitingWheelSteps);
    if (PanelCursor() == nullptr) {
        g_wheelSteps = 0;
        return;
    }
    if (g_wheelSteps > 0) {
        TriggerByMouse(keyUp);
        --g_wheelSteps;
    } else if (g_wheelSteps < 0) {
        TriggerByMouse(keyDown);
        ++g_wheelSteps;
    }
}

} // namespace

void ReadTitleMouse() {
    const int line = HoveredLine();
    if (g_mouse.Moved && line >= 0) {
        Select(line, true);
    }
    if (g_mouse.LeftClick) {
        ClickActions(line);
    }
    if (g_mouse.RightClick) {
        TriggerByMouse(keyEnter);
    }
    WheelActions();
}

void ResetTitleMouse() {
    g_wheelSteps = 0;
}
