#include "platform/TouchState.h"

#include <cmath>

void TTouchState::FingerDown(int64_t finger, double x, double y) {
    if (Tracking) {
        return;
    }
    Tracking = true;
    Dragged = false;
    Finger = finger;
    StartX = X = x;
    StartY = Y = y;
}

void TTouchState::FingerMove(int64_t finger, double x, double y) {
    if (!Tracking || finger != Finger) {
        return;
    }
    X = x;
    Y = y;
    if (std::hypot(X - StartX, Y - StartY) > kDragStartPoints) {
        Dragged = true;
    }
}

bool TTouchState::FingerUp(int64_t finger, double x, double y) {
    if (!Tracking || finger != Finger) {
        return false;
    }
    FingerMove(finger, x, y);
    Tracking = false;
    return !Dragged;
}

void TTouchState::Reset() {
    Tracking = false;
    Dragged = false;
}

bool TTouchState::EchoesTouch(uint32_t ms) const {
    return FingerSeen &&
           static_cast<int32_t>(ms - LastFingerMs) < static_cast<int32_t>(kTouchEchoMs);
}

TTouchState& Touch() {
    static TTouchState state;
    return state;
}
