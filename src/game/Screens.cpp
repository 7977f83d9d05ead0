#include "game/Screens.h"

#include "device/Setdx.h"
#include "game/GameAnalysis.h"
#include "game/GameHint.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/PageControlsShown.h"
#include "game/ScreenInput.h"
#include "game/TitleMouse.h"
#include "game/TitleScreens.h"

void RunScreens() {
    // Without the scene (before the set-up, or after it failed) there is nothing to run.
    if (g_device == nullptr || g_camera == nullptr) {
        return;
    }
    // Each family reads the mouse as the actions it stands for there, then runs on the actions.
    ClearMouseActions();
    if (g_scene == sceneTitle) {
        // What the game's aids were working on belongs to a game left behind.
        ForgetHint();
        ForgetAnalysis();
        ReadTitleMouse();
        // The page's "Back" is Enter on the panels.
        if (Triggered(keyBack)) {
            TriggerByMouse(keyEnter);
        }
        RunTitleScreens();
    } else if (g_scene == sceneGame) {
        RunGameScene();
    }
    ShowPageControlsOfScreen();
}
