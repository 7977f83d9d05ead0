#include "device/Input.h"

#include <memory>

#include "platform/Clock.h"
#include "platform/Joystick.h"
#include "platform/KeyState.h"
#include "platform/MouseState.h"
#include "platform/WindowMessages.h"

uint8_t g_keyState[keyCount] = {};
TMouseFrame g_mouse;
uint32_t g_repeatTime = 0;

namespace {

std::unique_ptr<TJoystick> g_joystick;

bool KeyDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

// Deadlines are compared by the signed difference of the ticks, so the repeat keeps its rhythm
// when the 32-bit tick count wraps.
bool Reached(uint32_t now, uint32_t deadline) {
    return static_cast<int32_t>(now - deadline) >= 0;
}

bool ButtonDown(const TJoyState& joy, int button) {
    return (joy.Buttons[button] & 0x80) != 0;
}

// Space and Enter: a trigger on the first frame of a press, then held.
uint8_t EdgeKey(bool down, uint8_t previous) {
    if (!down) {
        return 0;
    }
    return previous == 0 ? (KEY_TRIGGERED | KEY_HELD) : KEY_HELD;
}

// The directions: a trigger on the first frame, then one each time the shared deadline passes.
uint8_t RepeatKey(bool down, uint8_t previous, uint32_t now) {
    if (!down) {
        return 0;
    }
    if (previous == 0) {
        return KEY_TRIGGERED | KEY_HELD;
    }
    if (!Reached(now, g_repeatTime)) {
        return previous & (KEY_HELD | KEY_REPEATING);
    }
    return KEY_TRIGGERED | KEY_REPEATING;
}

} // namespace

void InitInput(TJoystickSource* joysticks) {
    g_joystick = joysticks ? joysticks->OpenFirstAttached() : nullptr;
}

void ReleaseInput() {
    g_joystick.reset();
}

void PollInput() {
    const uint32_t now = GetTickCount();

    // A joystick that cannot be read counts as centred with no button down.
    TJoyState joy;
    if (g_joystick) {
        g_joystick->Poll();
        if (!g_joystick->GetState(joy)) {
            joy = TJoyState{};
        }
    }

    const bool space = KeyDown(VK_SPACE) || ButtonDown(joy, 0) || ButtonDown(joy, 3);
    const bool enter = KeyDown(VK_RETURN) || ButtonDown(joy, 1);
    const bool controlKey = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    const bool backspace = KeyDown(VK_BACK);
    const bool control = controlKey || ButtonDown(joy, 2);
    const bool left = KeyDown(VK_LEFT) || joy.X < -kAxisThreshold;
    const bool right = KeyDown(VK_RIGHT) || joy.X > kAxisThreshold;
    const bool up = KeyDown(VK_UP) || joy.Y < -kAxisThreshold;
    const bool down = KeyDown(VK_DOWN) || joy.Y > kAxisThreshold;
    const bool hint = KeyDown(VK_H) || ButtonDown(joy, 5);
    const bool marks = KeyDown(VK_L);
    // Each letter is read in every frame, so that a press taken without Control is not kept
    // for a later one with it.
    const bool z = KeyDown(VK_Z);
    const bool y = KeyDown(VK_Y);
    const bool c = KeyDown(VK_C);
    const bool v = KeyDown(VK_V);
    const bool undo = (backspace && !shift) || (controlKey && z) || ButtonDown(joy, 4);
    const bool redo = (backspace && shift) || (controlKey && y) || ButtonDown(joy, 6);
    const bool copy = controlKey && c;
    const bool paste = controlKey && v;

    g_keyState[keySpace] = EdgeKey(space, g_keyState[keySpace]);
    g_keyState[keyEnter] = EdgeKey(enter, g_keyState[keyEnter]);
    g_keyState[keyControl] = control ? (KEY_TRIGGERED | KEY_HELD) : 0;
    g_keyState[keyLeft] = RepeatKey(left, g_keyState[keyLeft], now);
    g_keyState[keyRight] = RepeatKey(right, g_keyState[keyRight], now);
    g_keyState[keyUp] = RepeatKey(up, g_keyState[keyUp], now);
    g_keyState[keyDown] = RepeatKey(down, g_keyState[keyDown], now);
    g_keyState[keyHint] = EdgeKey(hint, g_keyState[keyHint]);
    g_keyState[keyUndo] = EdgeKey(undo, g_keyState[keyUndo]);
    g_keyState[keyMarks] = EdgeKey(marks, g_keyState[keyMarks]);
    g_keyState[keyRedo] = EdgeKey(redo, g_keyState[keyRedo]);
    g_keyState[keyCopy] = EdgeKey(copy, g_keyState[keyCopy]);
    g_keyState[keyPaste] = EdgeKey(paste, g_keyState[keyPaste]);

    // A new press of any direction restarts the shared wait for the first repeat.
    for (int key = keyLeft; key <= keyDown; ++key) {
        if (g_keyState[key] == (KEY_TRIGGERED | KEY_HELD)) {
            g_repeatTime = now + kFirstRepeatMs;
        }
    }
    if (Reached(now, g_repeatTime)) {
        g_repeatTime = now + kRepeatMs;
    }

    g_mouse = Mouse().Take();
}
