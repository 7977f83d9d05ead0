#include "app/App.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "game/Screens.h"
#include "platform/Clock.h"

// One frame, in this order. The render states are set afresh every frame, so a change of
// FogEnable in the configuration screen shows on the next one.
void RenderFrame() {
    // 1-6. The whole back buffer black, depth test on, the depth of the 640 x 480 screen
    // cleared, counter-clockwise triangles culled, Gouraud shading, and black linear fog from
    // 700 to 1100 when FogEnable is set (off otherwise).
    BeginFrame(FogEnable);
    // 7. Poll the keyboard, the joystick and the mouse; the system pointer shows while the
    // mouse moves.
    PollInput();
    UpdateMousePointer(g_hwnd, g_mouse.Moved, GetTickCount());
    // 8. Run the screen family of g_scene: the title family or the game scene.
    RunScreens();
    // 9. Flip.
    PresentFrame();
}
