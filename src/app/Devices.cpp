#include "app/App.h"
#include "device/Setdx.h"

// The window's device set-up: the sine table, the graphics, then input and sound. When the
// graphics fail, neither input nor sound is started and non-zero is returned.
int CreateDevices(HWND window) {
    if (g_platform) {
        SetDeviceSources({g_platform->Presenter(), g_platform->Joysticks(), g_platform->Audio(),
                          g_platform->SoundFolders()});
    }
    return InitDevices(window);
}

// Sound, then input, then graphics; each step skips what was never made.
void DestroyDevices() {
    ReleaseDevices();
}
