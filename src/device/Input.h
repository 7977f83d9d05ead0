#pragma once

#include <cstdint>

#include "platform/MouseState.h"

class TJoystickSource;

// The logical keys the screens are driven by, rewritten once per frame by PollInput from the
// keyboard and the first joystick. A screen acts on a key in a frame when KEY_TRIGGERED is set
// in its state byte; Escape is not among them (the window procedure handles it). The seven
// first keys drive the game itself; hint, undo, the legal-move marks, redo, the record's copy
// and paste and the analysis are the player's aids. A Control shortcut also triggers keyControl.
// Where the program runs in a web page, the page's controls press the keys they stand for (see
// platform/PageControls.h), and a finger dragged across the picture holds Control and the
// arrows of its direction, as a player turning the view with the keys does.

enum InputKey : int {
    keySpace = 0, // Space, joystick button 0 or 3
    keyEnter,     // Return, joystick button 1
    keyControl,   // Control, joystick button 2; triggered in every frame while down
    keyLeft,      // Left arrow, joystick X below -500; the four directions auto-repeat
    keyRight,     // Right arrow, joystick X above 500
    keyUp,        // Up arrow, joystick Y below -500
    keyDown,      // Down arrow, joystick Y above 500
    keyHint,      // H, joystick button 5 (a gamepad's right shoulder)
    keyUndo,      // Backspace or Control+Z, joystick button 4 (a gamepad's left shoulder)
    keyMarks,     // L
    keyRedo,      // Shift+Backspace or Control+Y, joystick button 6 (a gamepad's Back)
    keyCopy,      // Control+C
    keyPaste,     // Control+V
    keyAnalysis,  // A, joystick button 7 (a gamepad's Start), the page's "Analysis"
    keyBack,      // the page's "Back": Enter on the title's panels, leaving the game in a game
    keyCount
};

constexpr uint8_t KEY_HELD = 0x01;      // down, no new trigger
constexpr uint8_t KEY_REPEATING = 0x02; // a direction held past its first repeat
constexpr uint8_t KEY_TRIGGERED = 0x80; // act on it in this frame

constexpr uint32_t kFirstRepeatMs = 500;
constexpr uint32_t kRepeatMs = 100;
constexpr int32_t kAxisThreshold = 500; // of -1000..1000; exactly +-500 is not a press

extern uint8_t g_keyState[keyCount];
// This frame's mouse, taken from Mouse() by PollInput: its place on the logical screen and the
// clicks and wheel steps since the last frame.
extern TMouseFrame g_mouse;
// What the player used last (a TInputKind), as the poll found it: the help texts follow it.
extern int g_inputKind;
// A dragging finger holds a direction once it is this far (window points) from where it went
// down along that axis.
constexpr double kDragStepPoints = 24.0;
// Tick at which the next auto-repeat of a held direction fires; shared by all four.
extern uint32_t g_repeatTime;

// Opens the first joystick that `joysticks` finds (null: keyboard only). Reports nothing.
void InitInput(TJoystickSource* joysticks);
// Lets go of the joystick; safe when none was opened.
void ReleaseInput();
// Rewrites g_keyState from the keyboard and the joystick, and g_mouse from the mouse. Once per
// frame, before the screen.
void PollInput();
