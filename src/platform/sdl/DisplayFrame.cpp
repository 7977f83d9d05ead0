#include "platform/sdl/DisplayFrame.h"

// A desktop's swap waits for the display, or TFramePacer paces the frames.
bool WaitForDisplayFrame() {
    return false;
}
