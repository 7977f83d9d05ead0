#pragma once

// How the display's scale (a laptop at 150%) reaches the window; called before SDL starts its
// video. On Windows the program draws at each monitor's own resolution, and window sizes, window
// positions and mouse coordinates are in points: the 960x720 window is 1440x1080 pixels at 150%,
// and keeps its size in points when it is moved to a monitor of another scale. Elsewhere SDL's
// own handling (SDL_WINDOW_ALLOW_HIGHDPI) already does that, and this does nothing.
void PrepareDisplayScaling();
