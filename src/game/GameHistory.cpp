#include "game/GameHistory.h"

#include <vector>

#include "game/GameScene.h"

namespace {

// A game has at most 60 moves and, between them, no two passes in a row but at its end.
constexpr size_t kLongestGame = 128;

std::vector<TBoard> Reserved() {
    std::vector<TBoard> boards;
    boards.reserve(kLongestGame);
    return boards;
}

std::vector<TBoard>& History() {
    static std::vector<TBoard> history = Reserved();
    return history;
}

// The positions after the current one, the nearest at the back.
std::vector<TBoard>& RedoLine() {
    static std::vector<TBoard> line = Reserved();
    return line;
}

uint32_t g_changes = 0;

} // namespace

void ClearGameHistory() {
    ++g_changes;
    History().clear();
    RedoLine().clear();
}

void RecordGamePosition(const TBoard& before) {
    ++g_changes;
    History().push_back(before);
}

size_t GameHistorySize() {
    return History().size();
}

const TBoard& GamePositionBefore(size_t ply) {
    return History()[ply];
}

bool TakeBackMove(const TBoard& current, const int playerType[3], TBoard& restored) {
    std::vector<TBoard>& history = History();
    for (size_t n = history.size(); n > 0; --n) {
        const TBoard& before = history[n - 1];
        // A position whose side to move had no move was left by a pass.
        if (playerType[before.GetTurn()] == playerHuman && !before.MustPass()) {
            restored = before;
            std::vector<TBoard>& line = RedoLine();
            line.push_back(current);
            for (size_t later = history.size() - 1; later >= n; --later) {
                line.push_back(history[later]);
            }
            history.resize(n - 1);
            ++g_changes;
            return true;
        }
    }
    return false;
}

bool HasRedo() {
    return !RedoLine().empty();
}

bool TakeRedoPosition(TBoard& after) {
    std::vector<TBoard>& line = RedoLine();
    if (line.empty()) {
        return false;
    }
    after = line.back();
    line.pop_back();
    ++g_changes;
    return true;
}

void ForgetRedo() {
    ++g_changes;
    RedoLine().clear();
}

size_t RedoLineSize() {
    return RedoLine().size();
}

const TBoard& RedoPosition(size_t index) {
    const std::vector<TBoard>& line = RedoLine();
    return line[line.size() - 1 - index];
}

void SetRedoLine(const std::vector<TBoard>& nearestFirst) {
    ++g_changes;
    std::vector<TBoard>& line = RedoLine();
    line.assign(nearestFirst.rbegin(), nearestFirst.rend());
}

uint32_t GameHistoryChanges() {
    return g_changes;
}
