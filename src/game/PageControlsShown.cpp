#include "game/PageControlsShown.h"

#include "game/GameHistory.h"
#include "game/GameScene.h"
#include "game/GameState.h"

namespace {

TPageControlSet TitleControls() {
    switch (g_titleState) {
    case tsMenu:
    case tsConfig:
        return PageControlBit(pageBack);
    case tsLevel:
        return PageControlBit(pageBack) | PageControlBit(pageUp) | PageControlBit(pageDown);
    default:
        return 0;
    }
}

bool AtTwoPlayerStart() {
    return g_playerType[cellBlack] == playerHuman && g_playerType[cellWhite] == playerHuman &&
           GameHistorySize() == 0;
}

TPageControlSet GameControls() {
    TPageControlSet shown =
        PageControlBit(pageBack) | PageControlBit(pageMarks) | PageControlBit(pageCopy);
    if (g_gameState == gsResult) {
        return shown;
    }
    shown |= PageControlBit(pageUndo) | PageControlBit(pageRedo) | PageControlBit(pageHint) |
             PageControlBit(pageAnalysis);
    if (g_gameState == gsHuman && g_gameBoard.MustPass()) {
        shown |= PageControlBit(pagePass);
    }
    if (AtTwoPlayerStart()) {
        shown |= PageControlBit(pagePaste);
    }
    return shown;
}

} // namespace

TPageControlSet PageControlsOfScreen() {
    return g_scene == sceneGame ? GameControls() : TitleControls();
}

void ShowPageControlsOfScreen() {
    PageControls().Show(PageControlsOfScreen());
}
