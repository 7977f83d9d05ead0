#include "platform/sdl/SdlMouse.h"

#include <SDL.h>

#include "platform/MouseState.h"

namespace {

// The logical screen is always the display mode's 640 x 480.
constexpr int kLogicalWidth = 640;
constexpr int kLogicalHeight = 480;

// Mouse coordinates and the window size are both in the window's points, so the letterbox is
// found the way the presenter finds it in pixels. The pointer's hot spot is the middle of the
// point it names.
void MoveTo(Uint32 windowId, int x, int y) {
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    int width = 0;
    int height = 0;
    if (window != nullptr) {
        SDL_GetWindowSize(window, &width, &height);
    }
    double logicalX = 0.0;
    double logicalY = 0.0;
    const bool inside = WindowToLogical(width, height, kLogicalWidth, kLogicalHeight, x + 0.5,
                                        y + 0.5, logicalX, logicalY);
    Mouse().MoveTo(inside, logicalX, logicalY);
}

} // namespace

bool RecordMouseEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
        MoveTo(event.motion.windowID, event.motion.x, event.motion.y);
        return true;
    case SDL_MOUSEBUTTONDOWN:
        MoveTo(event.button.windowID, event.button.x, event.button.y);
        if (event.button.button == SDL_BUTTON_LEFT) {
            Mouse().PressLeft();
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
            Mouse().PressRight();
        }
        return true;
    case SDL_MOUSEWHEEL: {
        const int steps = event.wheel.y;
        Mouse().Scroll(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -steps : steps);
        return true;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
            Mouse().MoveTo(false, 0.0, 0.0);
            return true;
        }
        return false;
    default:
        return false;
    }
}
