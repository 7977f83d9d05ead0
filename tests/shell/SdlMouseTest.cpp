#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>

#include "platform/MouseState.h"
#include "platform/sdl/SdlSystem.h"

namespace {

// Mouse events of a wide window reach the mouse state in logical pixels, as the presenter
// letterboxes the picture into that window; on a bar there is no position.
TEST(SdlMouse, EventsOfAWideWindowArriveInLogicalPixels) {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    TSdlSystem sdl;
    ASSERT_TRUE(sdl.IsReady()) << sdl.Error();
    SDL_Window* window = SDL_CreateWindow("mouse", 0, 0, 1600, 900, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    TSdlEventSource source;
    TMessage message;
    while (source.Next(message)) {
    }
    Mouse().Reset();
    const auto push = [&](Uint32 type, int x, Uint8 button = 0) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            event.motion.windowID = SDL_GetWindowID(window);
            event.motion.x = x;
            event.motion.y = 450;
        } else {
            event.button.windowID = SDL_GetWindowID(window);
            event.button.button = button;
            event.button.x = x;
            event.button.y = 450;
        }
        SDL_PushEvent(&event);
    };
    // The picture is 1200 x 900 between bars of 200: 1.875 window points per logical pixel.
    push(SDL_MOUSEMOTION, 800);
    push(SDL_MOUSEBUTTONDOWN, 800, SDL_BUTTON_RIGHT);
    EXPECT_FALSE(source.Next(message)) << "mouse events make no window message";
    TMouseFrame frame = Mouse().Take();
    EXPECT_TRUE(frame.HasPosition && frame.Moved && frame.RightClick && !frame.LeftClick);
    EXPECT_NEAR(frame.X, 320 + 0.5 / 1.875, 1e-9);
    EXPECT_NEAR(frame.Y, 240 + 0.5 / 1.875, 1e-9);
    push(SDL_MOUSEMOTION, 100);
    source.Next(message);
    frame = Mouse().Take();
    EXPECT_TRUE(frame.Moved && !frame.HasPosition);
    Mouse().Reset();
    SDL_DestroyWindow(window);
}

} // namespace
