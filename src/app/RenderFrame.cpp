#include "app/App.h"
#include "device/Input.h"
#include "device/Settings.h"

// One frame, in this order. The render states are set afresh every frame, so a change of
// FogEnable in the configuration screen shows on the next one.
void RenderFrame() {
    // 1. Fill the whole back buffer black.
    if (g_platform) {
        g_platform->ShowBlack();
    }
    // 2. Depth test on.
    // 3. Clear the depth of the whole 640 x 480 screen.
    // 4. Cull counter-clockwise triangles.
    // 5. Gouraud shading.
    // 6. Fog: black, linear from 700 to 1100 when FogEnable is set; otherwise off.
    // 7. Poll the keyboard and joystick.
    PollInput();
    // 8. Run the screen family of g_scene: the title family or the game scene.
    // 9. Flip.
}
