#include "engine/Reversiutil.h"

#include <cassert>

namespace {

// Length of the run of opponent discs that starts next to (x, y) in direction (dx, dy) and is
// closed by a disc of the mover; 0 when the run is empty or not closed (edge or empty square).
// The null step (0, 0) never matches: the start square is empty, never the opponent's colour.
int ClosedRun(const TBoard& board, int x, int y, int dx, int dy) {
    const int opponent = board.GetOpponent();
    int length = 0;
    int cx = x + dx;
    int cy = y + dy;
    while (board.GetCell(cx, cy) == opponent) {
        ++length;
        cx += dx;
        cy += dy;
    }
    if (length > 0 && board.GetCell(cx, cy) == board.GetTurn()) {
        return length;
    }
    return 0;
}

} // namespace

TBoard::TBoard() : cells{}, turn(cellBlack), counts{kBoardSize * kBoardSize, 0, 0}, passes(0) {
    SetCell(3, 3, cellWhite);
    SetCell(4, 3, cellBlack);
    SetCell(3, 4, cellBlack);
    SetCell(4, 4, cellWhite);
}

int TBoard::GetCell(int x, int y) const {
    if (x < 0 || x >= kBoardSize || y < 0 || y >= kBoardSize) {
        return cellOutside;
    }
    return cells[y][x];
}

void TBoard::SetCell(int x, int y, int value) {
    assert(x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize);
    assert(value == cellEmpty || value == cellBlack || value == cellWhite);
    --counts[cells[y][x]];
    cells[y][x] = value;
    ++counts[value];
}

bool TBoard::CanPlace(int x, int y) const {
    if (GetCell(x, y) != cellEmpty) {
        return false;
    }
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (ClosedRun(*this, x, y, dx, dy) > 0) {
                return true;
            }
        }
    }
    return false;
}

bool TBoard::Place(int x, int y) {
    if (GetCell(x, y) != cellEmpty) {
        return false;
    }
    bool flipped = false;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            // Walk back from the last opponent disc of the run towards (x, y).
            for (int step = ClosedRun(*this, x, y, dx, dy); step > 0; --step) {
                SetCell(x + dx * step, y + dy * step, turn);
                flipped = true;
            }
        }
    }
    if (!flipped) {
        return false;
    }
    SetCell(x, y, turn);
    turn = GetOpponent();
    passes = 0;
    return true;
}

bool TBoard::MustPass() const {
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            if (CanPlace(x, y)) {
                return false;
            }
        }
    }
    return true;
}

bool TBoard::Pass() {
    if (!MustPass()) {
        return false;
    }
    turn = GetOpponent();
    ++passes;
    return true;
}

bool TBoard::IsGameOver() const {
    return passes >= 2 || counts[cellEmpty] == 0 || counts[cellBlack] == 0 ||
           counts[cellWhite] == 0;
}
