#include "platform/sdl/ShaperWarmUp.h"

void WarmUpShaper(TTF_Font* /*font*/) {}
