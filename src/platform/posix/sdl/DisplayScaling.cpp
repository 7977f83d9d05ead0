#include "platform/sdl/DisplayScaling.h"

void PrepareDisplayScaling() {}
