#include "Reference.h"

#include "engine/discsage.h"

#include <climits>
#include <list>

namespace {

int CrowdedWeight(const TBoard& board, int x, int y) {
    int occupied = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx != 0 || dy != 0) && board.GetCell(x + dx, y + dy) != cellEmpty) {
                ++occupied;
            }
        }
    }
    const int excess = occupied - 5;
    return excess > 0 ? 4 << excess : 0;
}

void MarkRun(const TBoard& board, int weights[8][8], int colour, int x, int y, int dx, int dy) {
    for (int i = 0; i < 8 && board.GetCell(x, y) == colour; ++i) {
        weights[y][x] = 128;
        x += dx;
        y += dy;
    }
}

const int squareWeights[8][8] = {
    {16, 1, 8, 4, 4, 8, 1, 16}, {1, 1, 1, 2, 2, 1, 1, 1},   {8, 1, 8, 4, 4, 8, 1, 8},
    {4, 2, 4, 8, 8, 4, 2, 4},   {4, 2, 4, 8, 8, 4, 2, 4},   {8, 1, 8, 4, 4, 8, 1, 8},
    {1, 1, 1, 2, 2, 1, 1, 1},   {16, 1, 8, 4, 4, 8, 1, 16},
};

int WorstFor(int turn) {
    return turn == cellBlack ? INT_MIN : INT_MAX;
}

} // namespace

int ReferenceEvaluate(const TBoard& board) {
    if (board.IsGameOver()) {
        return (board.GetCount(cellBlack) - board.GetCount(cellWhite)) * 100;
    }
    int weights[8][8];
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            weights[y][x] = squareWeights[y][x];
            if (board.GetCell(x, y) != cellEmpty) {
                if (const int crowded = CrowdedWeight(board, x, y); crowded > 0) {
                    weights[y][x] = crowded;
                }
            }
        }
    }
    const int corners[4][2] = {{0, 0}, {7, 7}, {0, 7}, {7, 0}};
    for (const auto& corner : corners) {
        const int colour = board.GetCell(corner[0], corner[1]);
        if (colour != cellEmpty) {
            const int inwardX = corner[0] == 0 ? 1 : -1;
            const int inwardY = corner[1] == 0 ? 1 : -1;
            MarkRun(board, weights, colour, corner[0], corner[1], inwardX, 0);
            MarkRun(board, weights, colour, corner[0], corner[1], 0, inwardY);
        }
    }
    int score = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int cell = board.GetCell(x, y);
            score += cell == cellBlack ? weights[y][x] : cell == cellWhite ? -weights[y][x] : 0;
        }
    }
    return score;
}

int TReferencePhase::Search(TBoard board, int bound, int depth) {
    // Step 1. Play this node's move on the copy.
    if (x == phaseRoot) {
        bound = board.GetTurn() == cellBlack ? INT_MAX : INT_MIN;
    } else if (x == phasePass) {
        board.Pass();
    } else if (!board.Place(x, y)) {
        return WorstFor(board.GetTurn());
    }

    // Step 2. Leaf.
    if (depth <= 0 || board.IsGameOver()) {
        value = Evaluate(board);
        return value;
    }

    // Step 3. Children in scan order; a side without moves gets one pass that uses no depth.
    std::list<TReferencePhase> children;
    for (int cy = 0; cy < 8; ++cy) {
        for (int cx = 0; cx < 8; ++cx) {
            if (board.CanPlace(cx, cy)) {
                children.emplace_back(cx, cy);
            }
        }
    }
    if (children.empty()) {
        children.emplace_back(phasePass, phasePass);
        ++depth;
    }

    // Steps 4 and 5. Minimax, cut off by the parent's running value only.
    const bool blackToMove = board.GetTurn() == cellBlack;
    value = WorstFor(board.GetTurn());
    for (TReferencePhase& child : children) {
        const int v = child.Search(board, value, depth - 1);
        if (blackToMove ? v > value : v < value) {
            value = v;
        }
        if (blackToMove ? value > bound : value < bound) {
            break;
        }
    }

    // Step 6. The root reports the first child that reached its value.
    if (x == phaseRoot) {
        for (const TReferencePhase& child : children) {
            if (child.value == value) {
                x = child.x;
                y = child.y;
                break;
            }
        }
    }
    return value;
}

TReferenceAnswer ReferenceSearch(const TBoard& board, int depth) {
    TReferencePhase root(phaseRoot, phaseRoot);
    root.Search(board, 0, depth);
    return {root.x, root.y, root.value};
}

bool ReferenceThink(const TBoard& board, int level, int* x, int* y) {
    if (board.MustPass()) {
        return false;
    }
    const TReferenceAnswer answer =
        ReferenceSearch(board, ChooseDepth(level, board.GetCount(cellEmpty)));
    *x = answer.X;
    *y = answer.Y;
    return true;
}
