#pragma once

#include <SDL_ttf.h>

// Readies the text shaper with `font`, the first font the screens open, before the first line is
// drawn. Compiled ahead of time, the shaper needs nothing; the browser's version measures lines.
void WarmUpShaper(TTF_Font* font);
