#include "ComparePositions.h"

#include "engine/discsage.h"

#include <climits>
#include <list>

namespace {

// Nodes one reference search may visit before it gives up: a few seconds' work, some six times
// what the deepest search of the tests needs.
constexpr long kReferenceNodeBudget = 4'000'000;

int WorstFor(int turn) {
    return turn == cellBlack ? INT_MIN : INT_MAX;
}

// One node of the plain search; x, y are the move into it, or phaseRoot / phasePass.
struct TNode {
    TNode(int moveX, int moveY) : x(moveX), y(moveY) {}

    int Search(TBoard board, int bound, int depth, long* budget) {
        if (--*budget < 0) {
            return 0;
        }
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
            value = EvaluateBoard(board);
            return value;
        }
        // Step 3. Children in scan order; a side without moves gets one pass that uses no depth.
        std::list<TNode> children;
        for (int cy = 0; cy < kBoardSize; ++cy) {
            for (int cx = 0; cx < kBoardSize; ++cx) {
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
        for (TNode& child : children) {
            const int v = child.Search(board, value, depth - 1, budget);
            if (blackToMove ? v > value : v < value) {
                value = v;
            }
            if (blackToMove ? value > bound : value < bound) {
                break;
            }
        }
        // Step 6. The root reports the first child that reached its value.
        if (x == phaseRoot) {
            for (const TNode& child : children) {
                if (child.value == value) {
                    x = child.x;
                    y = child.y;
                    break;
                }
            }
        }
        return value;
    }

    int x;
    int y;
    int value = 0;
};

} // namespace

TReferenceAnswer ReferenceSearch(const TBoard& board, int depth) {
    TNode root(phaseRoot, phaseRoot);
    long budget = kReferenceNodeBudget;
    root.Search(board, 0, depth, &budget);
    return {root.x, root.y, root.value, budget < 0};
}
