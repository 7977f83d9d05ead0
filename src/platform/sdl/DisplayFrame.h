#pragma once

// The next picture of the display, where the platform says when it comes. A web page's drawing
// is shown at the browser's next animation frame, whenever it was done: a page that draws
// faster, or between two of them, has its extra pictures drawn for nothing, and a software GPU
// falls behind until the page's GL calls themselves wait for it.
//
// Called right after a swap. Waits until the display is ready for the next picture and returns
// true; returns false at once where there is no such signal (a desktop's swap interval and
// TFramePacer keep the frames to the display there).
bool WaitForDisplayFrame();
