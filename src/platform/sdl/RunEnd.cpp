#include "platform/sdl/RunEnd.h"

// A desktop process ends when main returns.
void AnnounceRunEnd() {}
