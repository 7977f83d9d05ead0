#include "platform/MouseState.h"

#include "platform/Present.h"

void TMouseState::MoveTo(bool hasPosition, double x, double y) {
    if (hasPosition == Pending.HasPosition &&
        (!hasPosition || (x == Pending.X && y == Pending.Y))) {
        return;
    }
    Pending.HasPosition = hasPosition;
    Pending.X = hasPosition ? x : 0.0;
    Pending.Y = hasPosition ? y : 0.0;
    Pending.Moved = true;
}

TMouseFrame TMouseState::Take() {
    TMouseFrame frame = Pending;
    Pending.Moved = false;
    Pending.LeftClick = false;
    Pending.RightClick = false;
    Pending.Wheel = 0;
    return frame;
}

TMouseState& Mouse() {
    static TMouseState state;
    return state;
}

bool WindowToLogical(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight,
                     double windowX, double windowY, double& logicalX, double& logicalY) {
    const TScreenArea area = FitScreenArea(windowWidth, windowHeight, logicalWidth, logicalHeight);
    if (area.Width <= 0 || area.Height <= 0) {
        return false;
    }
    const double x = (windowX - area.X) / area.Scale;
    const double y = (windowY - area.Y) / area.Scale;
    if (x < 0.0 || y < 0.0 || x >= logicalWidth || y >= logicalHeight) {
        return false;
    }
    logicalX = x;
    logicalY = y;
    return true;
}
