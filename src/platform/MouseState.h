#pragma once

// The mouse as the window's events leave it, next to the keyboard state: where the pointer is on
// the 640 x 480 logical screen and what it did since the input poll last took it. The event
// translation maps window points into the logical screen (through the letterbox) before they
// get here; tests move the mouse here directly.

// One frame's mouse, as the input poll hands it to the screens.
struct TMouseFrame {
    bool HasPosition = false; // false: off the picture (on a bar or outside the window)
    double X = 0.0;           // logical pixels, x right from the picture's left edge
    double Y = 0.0;           // ... and y down from its top edge
    bool Moved = false;       // the pointer moved since the last frame
    bool LeftClick = false;   // a button pressed since the last frame
    bool RightClick = false;
    int Wheel = 0; // wheel steps since the last frame, positive away from the user
};

class TMouseState {
  public:
    // The pointer is now at logical (x, y); hasPosition false when it is off the picture.
    void MoveTo(bool hasPosition, double x, double y);
    void PressLeft() { Pending.LeftClick = true; }
    void PressRight() { Pending.RightClick = true; }
    void Scroll(int steps) { Pending.Wheel += steps; }
    // What happened since the last call; the position stays, the events are taken.
    TMouseFrame Take();
    void Reset() { Pending = TMouseFrame{}; }

  private:
    TMouseFrame Pending;
};

// The mouse state of the program.
TMouseState& Mouse();

// Where a point of a window of windowWidth x windowHeight (in the units of the mouse events)
// falls on a logical screen of logicalWidth x logicalHeight drawn in the window's largest
// centred area of the same aspect ratio (FitScreenArea). False when it falls outside that area.
bool WindowToLogical(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight,
                     double windowX, double windowY, double& logicalX, double& logicalY);
