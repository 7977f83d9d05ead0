#include "device/Input.h"

#include <memory>

#include "platform/Clock.h"
#include "platform/Joystick.h"
#include "platform/KeyState.h"
#include "platform/MouseState.h"
#include "platform/PageControls.h"
#include "platform/TouchState.h"
#include "platform/WindowMessages.h"

uint8_t g_keyState[keyCount] = {};
TMouseFrame g_mouse;
int g_inputKind = inputKeys;
uint32_t g_repeatTime = 0;

namespace {

std::unique_ptr<TJoystick> g_joystick;

// One keyboard key as this frame sees it: down now, and pressed anew since the last frame (a
// tap may have come and gone between the two).
struct TKeyRead {
    bool Down = false;
    bool Pressed = false;
};

TKeyRead ReadKey(int virtualKey) {
    const int16_t state = GetAsyncKeyState(virtualKey);
    return {(state & 0x8000) != 0, (state & 0x0001) != 0};
}

// The key with a joystick input that also presses it; the joystick has no presses of its own
// between frames.
TKeyRead Either(TKeyRead key, bool joystickDown) {
    key.Down = key.Down || joystickDown;
    return key;
}

// A shortcut's key with the modifiers that decide its shortcut: those of the press taken in
// this frame, else those of the press that put the key down. A modifier let go or pressed while
// the key is held changes nothing, and a whole chord typed between two frames (a tool sends
// Shift down, Backspace down and up, Shift up at once) is still that chord.
struct TChordRead {
    TKeyRead Key;
    uint8_t Modifiers = 0;
};

TChordRead ReadChord(int virtualKey) {
    TKeyState& keys = Keyboard();
    TChordRead chord;
    chord.Key.Down = keys.IsDown(virtualKey);
    chord.Key.Pressed = keys.TakePress(virtualKey, &chord.Modifiers);
    if (!chord.Key.Pressed) {
        chord.Modifiers = keys.DownModifiers(virtualKey);
    }
    return chord;
}

// The chord's key only when `modifier` is among its modifiers (`with`) or not.
TKeyRead When(const TChordRead& chord, uint8_t modifier, bool with) {
    const bool matches = ((chord.Modifiers & modifier) != 0) == with;
    return {chord.Key.Down && matches, chord.Key.Pressed && matches};
}

// The key, or the page's control that stands for it (a press of its own, never held).
TKeyRead OrControl(TKeyRead key, int control) {
    key.Pressed = PageControls().TakePress(control) || key.Pressed;
    return key;
}

// Either of two keys that do the same.
TKeyRead AnyOf(TKeyRead a, TKeyRead b) {
    return {a.Down || b.Down, a.Pressed || b.Pressed};
}

// Deadlines are compared by the signed difference of the ticks, so the repeat keeps its rhythm
// when the 32-bit tick count wraps.
bool Reached(uint32_t now, uint32_t deadline) {
    return static_cast<int32_t>(now - deadline) >= 0;
}

bool ButtonDown(const TJoyState& joy, int button) {
    return (joy.Buttons[button] & 0x80) != 0;
}

// Space and Enter: a trigger on the first frame of a press, then held. A press since the last
// frame triggers even when the key was down in it (let go and pressed again in between) or is
// up again already (a tap between the two frames).
uint8_t EdgeKey(TKeyRead key, uint8_t previous) {
    if (key.Pressed) {
        return KEY_TRIGGERED | KEY_HELD;
    }
    if (!key.Down) {
        return 0;
    }
    return previous == 0 ? (KEY_TRIGGERED | KEY_HELD) : KEY_HELD;
}

// The directions: a trigger on the first frame, then one each time the shared deadline passes.
uint8_t RepeatKey(TKeyRead key, uint8_t previous, uint32_t now) {
    if (key.Pressed) {
        return KEY_TRIGGERED | KEY_HELD;
    }
    if (!key.Down) {
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

    // A dragging finger holds Control, and the arrows of the way it has gone.
    const TTouchState& touch = Touch();
    const bool drag = touch.Dragging();
    const TKeyRead space = Either(ReadKey(VK_SPACE), ButtonDown(joy, 0) || ButtonDown(joy, 3));
    const TKeyRead enter = OrControl(Either(ReadKey(VK_RETURN), ButtonDown(joy, 1)), pagePass);
    const TKeyRead controlKey = ReadKey(VK_CONTROL);
    const TKeyRead control = Either(controlKey, ButtonDown(joy, 2) || drag);
    const TKeyRead left =
        Either(ReadKey(VK_LEFT), joy.X < -kAxisThreshold || touch.DragX() < -kDragStepPoints);
    const TKeyRead right =
        Either(ReadKey(VK_RIGHT), joy.X > kAxisThreshold || touch.DragX() > kDragStepPoints);
    const TKeyRead up = OrControl(
        Either(ReadKey(VK_UP), joy.Y < -kAxisThreshold || touch.DragY() < -kDragStepPoints),
        pageUp);
    const TKeyRead down = OrControl(
        Either(ReadKey(VK_DOWN), joy.Y > kAxisThreshold || touch.DragY() > kDragStepPoints),
        pageDown);
    const TKeyRead hint = OrControl(Either(ReadKey(VK_H), ButtonDown(joy, 5)), pageHint);
    const TKeyRead marks = OrControl(ReadKey(VK_L), pageMarks);
    const TKeyRead analysis = OrControl(Either(ReadKey(VK_A), ButtonDown(joy, 7)), pageAnalysis);
    const TKeyRead back = OrControl(TKeyRead{}, pageBack);
    // The shortcuts: Backspace with or without Shift, and letters with Control. Each letter is
    // read in every frame, so that a press taken without Control is not kept for a later one
    // with it.
    const TChordRead backspace = ReadChord(VK_BACK);
    const TChordRead z = ReadChord(VK_Z);
    const TChordRead y = ReadChord(VK_Y);
    const TChordRead c = ReadChord(VK_C);
    const TChordRead v = ReadChord(VK_V);
    const TKeyRead undo = OrControl(
        Either(AnyOf(When(backspace, kModShift, false), When(z, kModControl, true)),
               ButtonDown(joy, 4)),
        pageUndo);
    const TKeyRead redo = OrControl(
        Either(AnyOf(When(backspace, kModShift, true), When(y, kModControl, true)),
               ButtonDown(joy, 6)),
        pageRedo);
    const TKeyRead copy = OrControl(When(c, kModControl, true), pageCopy);
    const TKeyRead paste = OrControl(When(v, kModControl, true), pagePaste);

    g_keyState[keySpace] = EdgeKey(space, g_keyState[keySpace]);
    g_keyState[keyEnter] = EdgeKey(enter, g_keyState[keyEnter]);
    // Control is a level: triggered in every frame it is down, or was tapped since the last.
    g_keyState[keyControl] = control.Down || control.Pressed ? (KEY_TRIGGERED | KEY_HELD) : 0;
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
    g_keyState[keyAnalysis] = EdgeKey(analysis, g_keyState[keyAnalysis]);
    g_keyState[keyBack] = EdgeKey(back, g_keyState[keyBack]);

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
    g_inputKind = LastInputKind();
}
