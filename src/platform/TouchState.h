#pragma once

#include <cstdint>

// The first finger on the picture, for touch screens. A finger lifted near where it went down
// is a tap, which the event translation hands on as a left click there; one moved further is a
// drag, which turns the view as Control and the arrows do for as long as the finger stays down.
// Points are in the window's units (those of the mouse events); other fingers are ignored.

class TTouchState {
  public:
    void FingerDown(int64_t finger, double x, double y);
    void FingerMove(int64_t finger, double x, double y);
    // True when the finger's lift ends a tap (it never went further than kDragStartPoints).
    bool FingerUp(int64_t finger, double x, double y);
    // Forgets the finger (the window lost it).
    void Reset();

    // A finger event happened at tick `ms` (the events' own clock).
    void NoteFingerTime(uint32_t ms) {
        LastFingerMs = ms;
        FingerSeen = true;
    }
    // True when a mouse event at tick `ms` comes too soon after a finger's last event to be
    // anything but the browser's mouse events made from that touch.
    bool EchoesTouch(uint32_t ms) const;

    bool Down() const { return Tracking; }
    bool Dragging() const { return Tracking && Dragged; }
    // How far the dragging finger is from where it went down; 0 when not dragging.
    double DragX() const { return Dragging() ? X - StartX : 0.0; }
    double DragY() const { return Dragging() ? Y - StartY : 0.0; }

    // Further than this from where it went down, a finger drags; a tap's wobble stays inside.
    static constexpr double kDragStartPoints = 12.0;
    // A browser makes mouse events of its own from a touch, just after it.
    static constexpr uint32_t kTouchEchoMs = 800;

  private:
    bool Tracking = false;
    bool Dragged = false;
    int64_t Finger = 0;
    double StartX = 0.0;
    double StartY = 0.0;
    double X = 0.0;
    double Y = 0.0;
    bool FingerSeen = false;
    uint32_t LastFingerMs = 0;
};

// The touch state of the program.
TTouchState& Touch();
