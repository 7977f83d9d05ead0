#include "game/GameState.h"

#include "game/KeptGame.h"
#include "platform/Clock.h"

int g_scene = sceneTitle;
int g_titleState = tsInit;
int g_gameState = gsStart;
uint32_t g_stateTime = 0;

void ReturnToTitle() {
    // A game left for the title, or over, is not to be resumed.
    ForgetKeptGame();
    g_scene = sceneTitle;
    g_titleState = tsInit;
    g_stateTime = GetTickCount();
}

namespace {

TCloseHandler g_closeHandler = nullptr;

} // namespace

void SetCloseHandler(TCloseHandler handler) {
    g_closeHandler = handler;
}

void RequestClose() {
    if (g_closeHandler) {
        g_closeHandler();
    }
}
