#include "game/GameHistory.h"

#include <vector>

#include "game/GameScene.h"

namespace {

// A game has at most 60 moves and, between them, no two passes in a row but at its end.
constexpr size_t kLongestGame = 128;

std::vector<TBoard>& History() {
    static std::vector<TBoard> history = [] {
        std::vector<TBoard> boards;
        boards.reserve(kLongestGame);
        return boards;
    }();
    return history;
}

} // namespace

void ClearGameHistory() {
    History().clear();
}

void RecordGamePosition(const TBoard& before) {
    History().push_back(before);
}

size_t GameHistorySize() {
    return History().size();
}

bool TakeBackMove(const int playerType[3], TBoard& restored) {
    std::vector<TBoard>& history = History();
    for (size_t n = history.size(); n > 0; --n) {
        const TBoard& before = history[n - 1];
        // A position whose side to move had no move was left by a pass.
        if (playerType[before.GetTurn()] == playerHuman && !before.MustPass()) {
            restored = before;
            history.resize(n - 1);
            return true;
        }
    }
    return false;
}
