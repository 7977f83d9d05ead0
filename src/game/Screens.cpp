#include "game/Screens.h"

#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TitleScreens.h"

void RunScreens() {
    if (g_scene == sceneTitle) {
        RunTitleScreens();
    } else if (g_scene == sceneGame) {
        RunGameScene();
    }
}
