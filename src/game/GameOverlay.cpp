#include "game/GameOverlay.h"

#include <cstdio>

#include "device/Input.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TextItems.h"
#include "platform/PageControls.h"

namespace {

constexpr int kBannerHeight = 56;
constexpr int kCountHeight = 48;
constexpr int kHintHeight = 20;
constexpr int kCountWidth = 100; // each count beside the middle of the screen
constexpr int kCountBottom = 64; // the counts and the side names

void DrawBanner(const char* text) {
    DrawTextItem(0, 208, kScreenRight, 272, text, kColourWhite, kFaceTimes, kBannerHeight);
}

void DrawCount(int left, int count) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2d", count);
    DrawTextItem(left, 0, left + kCountWidth, kCountBottom, buffer, kColourWhite, kFaceTimes,
                 kCountHeight);
}

uint32_t SideColour(int side) {
    const bool toMove = g_gameState != gsResult && g_shownBoard.GetTurn() == side;
    return toMove ? kColourYellow : kColourWhite;
}

// How to pass with what the player used last.
const char* PassHintText() {
    switch (g_inputKind) {
    case inputMouse:
        return "パスは右クリック";
    case inputTouch:
        return "パスは Pass ボタン";
    default:
        return "パスは Enter キー";
    }
}

} // namespace

void DrawGameOverlay() {
    if (g_gameState == gsHuman && g_gameBoard.MustPass()) {
        DrawTextItem(kScreenMiddleX, 420, kScreenRight, kScreenBottom, PassHintText(), kColourWhite,
                     kFaceGothic, kHintHeight);
    }
    if (g_gameState == gsWait && !g_takingBack && g_shownBoard.MustPass()) {
        DrawBanner(g_shownBoard.GetTurn() == cellBlack ? "Black Pass" : "White Pass");
    }
    if (g_gameState == gsResult) {
        DrawBanner(GetGameResult(g_gameBoard, g_playerType).Text);
    }
    DrawCount(kScreenMiddleX - kCountWidth, g_shownBoard.GetCount(cellBlack));
    DrawCount(kScreenMiddleX, g_shownBoard.GetCount(cellWhite));
    DrawTextItem(0, 0, kScreenRight, kCountBottom, "-", kColourWhite, kFaceTimes, kCountHeight);
    DrawTextItem(0, 0, kScreenMiddleX, kCountBottom, "Black", SideColour(cellBlack), kFaceTimes,
                 kCountHeight);
    DrawTextItem(kScreenMiddleX, 0, kScreenRight, kCountBottom, "White", SideColour(cellWhite),
                 kFaceTimes, kCountHeight);
}
