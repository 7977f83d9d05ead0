#pragma once

union SDL_Event;

// Records a mouse event (motion, a left or right button press, the wheel, the pointer leaving
// the window) in Mouse(), its window point mapped into the 640 x 480 logical screen through the
// letterbox of the event's window. Other events are left alone. False when it was no mouse event.
bool RecordMouseEvent(const SDL_Event& event);
