#include "platform/sdl/SdlMouse.h"

#include <SDL.h>

#include "platform/MouseState.h"
#include "platform/PageControls.h"
#include "platform/TouchState.h"

namespace {

// The logical screen is always the display mode's 640 x 480.
constexpr int kLogicalWidth = 640;
constexpr int kLogicalHeight = 480;
// A mouse event that stands for a touch the finger events already reported: SDL's own (from the
// touch device) or the browser's, which comes just after the touch.
bool IsTouchEcho(Uint32 which, Uint32 timestamp) {
    return which == SDL_TOUCH_MOUSEID || Touch().EchoesTouch(timestamp);
}

// Mouse coordinates and the window size are both in the window's points, so the letterbox is
// found the way the presenter finds it in pixels. The pointer's hot spot is the middle of the
// point it names.
void MoveToPoint(SDL_Window* window, double x, double y) {
    int width = 0;
    int height = 0;
    if (window != nullptr) {
        SDL_GetWindowSize(window, &width, &height);
    }
    double logicalX = 0.0;
    double logicalY = 0.0;
    const bool inside =
        WindowToLogical(width, height, kLogicalWidth, kLogicalHeight, x, y, logicalX, logicalY);
    Mouse().MoveTo(inside, logicalX, logicalY);
}

void MoveTo(Uint32 windowId, int x, int y) {
    MoveToPoint(SDL_GetWindowFromID(windowId), x + 0.5, y + 0.5);
}

// The window a finger touches: the one it names, or the one under the pointer.
SDL_Window* FingerWindow(const SDL_TouchFingerEvent& finger) {
    SDL_Window* window = SDL_GetWindowFromID(finger.windowID);
    if (window == nullptr) {
        window = SDL_GetMouseFocus();
    }
    return window != nullptr ? window : SDL_GetKeyboardFocus();
}

// A finger's place, which SDL gives as a fraction of the window, in the window's points.
void FingerPoint(const SDL_TouchFingerEvent& finger, double& x, double& y) {
    SDL_Window* window = FingerWindow(finger);
    int width = 0;
    int height = 0;
    if (window != nullptr) {
        SDL_GetWindowSize(window, &width, &height);
    }
    x = finger.x * width;
    y = finger.y * height;
}

// Fingers: a tap is a left click where the finger was lifted; a drag is left to the input poll.
void RecordFinger(const SDL_Event& event) {
    const SDL_TouchFingerEvent& finger = event.tfinger;
    Touch().NoteFingerTime(finger.timestamp);
    NoteInputKind(inputTouch);
    double x = 0.0;
    double y = 0.0;
    FingerPoint(finger, x, y);
    switch (event.type) {
    case SDL_FINGERDOWN:
        Touch().FingerDown(finger.fingerId, x, y);
        break;
    case SDL_FINGERMOTION:
        Touch().FingerMove(finger.fingerId, x, y);
        break;
    default:
        if (Touch().FingerUp(finger.fingerId, x, y)) {
            MoveToPoint(FingerWindow(finger), x, y);
            Mouse().PressLeft();
        }
        break;
    }
}

} // namespace

bool RecordMouseEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
        if (!IsTouchEcho(event.motion.which, event.motion.timestamp)) {
            MoveTo(event.motion.windowID, event.motion.x, event.motion.y);
        }
        return true;
    case SDL_MOUSEBUTTONDOWN:
        if (IsTouchEcho(event.button.which, event.button.timestamp)) {
            return true;
        }
        NoteInputKind(inputMouse);
        MoveTo(event.button.windowID, event.button.x, event.button.y);
        if (event.button.button == SDL_BUTTON_LEFT) {
            Mouse().PressLeft();
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
            Mouse().PressRight();
        }
        return true;
    case SDL_MOUSEWHEEL: {
        if (event.wheel.which == SDL_TOUCH_MOUSEID) {
            return true;
        }
        NoteInputKind(inputMouse);
        const int steps = event.wheel.y;
        Mouse().Scroll(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -steps : steps);
        return true;
    }
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
        RecordFinger(event);
        return true;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            Touch().Reset();
            return false;
        }
        if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
            Mouse().MoveTo(false, 0.0, 0.0);
            return true;
        }
        return false;
    default:
        return false;
    }
}
