#pragma once

union SDL_Event;

// Records a mouse event (motion, a left or right button press, the wheel, the pointer leaving
// the window) in Mouse(), its window point mapped into the 640 x 480 logical screen through the
// letterbox of the event's window; and the fingers of a touch screen in Touch(), a tap as a left
// click. Mouse events that echo a touch (SDL's, or the browser's own just after it) are dropped:
// one touch acts once. Other events are left alone. False when it was no mouse or touch event.
bool RecordMouseEvent(const SDL_Event& event);
