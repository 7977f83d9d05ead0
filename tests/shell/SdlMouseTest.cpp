#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>

#include "platform/MouseState.h"
#include "platform/sdl/SdlSystem.h"

namespace {

// Mouse events of a wide window reach the mouse state in logical pixels, as the presenter
// letterboxes the picture into that window.
TEST(SdlMouse, EventsOfAWideWindowArriveInLogicalPixels) {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    TSdlSystem sdl;
    ASSERT_TRUE(sdl.IsReady()) << sdl.Error();
    SDL_Window* window = SDL_CreateWindow("mouse", 0, 0, 1600, 900, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    const Uint32 id = SDL_GetWindowID(window);
    TSdlEventSource source;
    TMessage message;
    while (source.Next(message)) {
    }
    Mouse().Reset();

    // The picture is 1200 x 900 between bars of 200: 1.875 window points per logical pixel.
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = id;
    event.motion.x = 200 + 600;
    event.motion.y = 450;
    SDL_PushEvent(&event);
    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = id;
    event.button.button = SDL_BUTTON_RIGHT;
    event.button.x = 800;
    event.button.y = 450;
    SDL_PushEvent(&event);
    event = SDL_Event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = -2;
    SDL_PushEvent(&event);
    EXPECT_FALSE(source.Next(message)) << "mouse events make no window message";
    TMouseFrame frame = Mouse().Take();
    EXPECT_TRUE(frame.HasPosition && frame.Moved && frame.RightClick);
    EXPECT_FALSE(frame.LeftClick);
    EXPECT_NEAR(frame.X, 320 + 0.5 / 1.875, 1e-9);
    EXPECT_NEAR(frame.Y, 240 + 0.5 / 1.875, 1e-9);
    EXPECT_EQ(frame.Wheel, -2);

    // Onto a bar: off the picture.
    event = SDL_Event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = id;
    event.motion.x = 100;
    event.motion.y = 450;
    SDL_PushEvent(&event);
    source.Next(message);
    frame = Mouse().Take();
    EXPECT_TRUE(frame.Moved);
    EXPECT_FALSE(frame.HasPosition);
    Mouse().Reset();
    SDL_DestroyWindow(window);
}

} // namespace
