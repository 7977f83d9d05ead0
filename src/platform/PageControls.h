#pragma once

#include <array>
#include <cstdint>

// The controls a web page shows beside the picture for what a phone has no key for, and which
// kind of input the player used last. The game says after each frame which controls act now
// (Show); the page hides the others. A press comes back from the page (Press) and the input poll
// takes it (TakePress) as the key it stands for. On the desktops the page does not exist: the
// set is kept and nothing shows.

enum TPageControl : int {
    pageBack = 0, // Enter on the menus, Escape in a game
    pagePass,     // Enter on the board
    pageUndo,     // Backspace
    pageRedo,     // Shift+Backspace
    pageHint,     // H
    pageMarks,    // L
    pageCopy,     // Control+C
    pagePaste,    // Control+V
    pageUp,       // the Up arrow (the level list)
    pageDown,     // the Down arrow (the level list)
    pageAnalysis, // A: the worth of every move, on or off
    pageControlCount
};

// One bit per TPageControl.
using TPageControlSet = uint32_t;
constexpr TPageControlSet PageControlBit(int control) {
    return TPageControlSet{1} << control;
}

// What the player touched last: the help texts name what that input does.
enum TInputKind : int {
    inputKeys = 0, // the keyboard or a gamepad
    inputMouse,    // a mouse button or the wheel
    inputTouch,    // a finger on the picture or one of the page's controls
};

class TPageControls {
  public:
    // The controls that act from now on; the page hears of it only when the set changes.
    void Show(TPageControlSet shown);
    TPageControlSet Shown() const { return ShownSet; }
    // The page's control `control` was pressed; out-of-range numbers are ignored.
    void Press(int control);
    // Takes one press of `control` not yet taken; false when there is none.
    bool TakePress(int control);
    void Reset();

    // Presses kept per control at most; more before a frame takes them are a finger ahead of
    // the game.
    static constexpr uint8_t kMaxPendingPresses = 4;

  private:
    TPageControlSet ShownSet = 0;
    bool Told = false; // the page has heard of ShownSet
    std::array<uint8_t, pageControlCount> Presses{};
};

// The page's controls of the program.
TPageControls& PageControls();

// Hands the set of controls to show to the page; nothing where there is no page.
void ShowPageControls(TPageControlSet shown);

// The input the page expects before the player has used any: touch on a touch screen, the keys
// elsewhere (and always on the desktops).
TInputKind PageInputKind();

// Records which input the player used last; the event translation calls it. Before the first,
// LastInputKind is the page's expectation.
void NoteInputKind(TInputKind kind);
TInputKind LastInputKind();
