#include "app/App.h"
#include "device/Input.h"
#include "device/Sound.h"
#include "device/StepSine.h"

// The window's device set-up. The graphics set-up joins here, between the sine table and the
// input: when it fails, neither input nor sound is started and non-zero is returned.
int CreateDevices(HWND /*window*/) {
    FillSinTable();
    InitInput(g_platform ? g_platform->Joysticks() : nullptr);
    InitSound(g_platform ? g_platform->Audio() : nullptr);
    return 0;
}

// Sound, then input, then graphics; each step skips what was never made.
void DestroyDevices() {
    ReleaseSound();
    ReleaseInput();
}
