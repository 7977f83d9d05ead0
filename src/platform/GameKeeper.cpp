#include "platform/GameKeeper.h"

namespace {

TGameKeeper* g_gameKeeper = nullptr;

} // namespace

void SetGameKeeper(TGameKeeper* keeper) {
    g_gameKeeper = keeper;
}

TGameKeeper* GameKeeper() {
    return g_gameKeeper;
}

void TRecordingGameKeeper::Keep(const std::string& text) {
    Text = text;
    HasGame = true;
    ++Keeps;
}

bool TRecordingGameKeeper::Kept(std::string& text) {
    if (!HasGame) {
        return false;
    }
    text = Text;
    return true;
}

void TRecordingGameKeeper::Forget() {
    Text.clear();
    HasGame = false;
}
