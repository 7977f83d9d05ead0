#include "Reference.h"

#include "engine/discsage.h"

#include <climits>
#include <list>

namespace {

int WorstFor(int turn) {
    return turn == cellBlack ? INT_MIN : INT_MAX;
}

} // namespace

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
