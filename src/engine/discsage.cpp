#include "engine/discsage.h"

#include "engine/EndgameSolver.h"
#include "engine/FastBridge.h"
#include "engine/FastSearch.h"

#include <climits>

static_assert(phaseRoot == kFastNoMove && phasePass == kFastPass,
              "the fast search reports a leaf root and a pass with the node's own markers");

namespace {

// Weight of a disc whose neighbours are nearly all occupied, where off the board counts as
// occupied; 0 when too few are, which keeps the table weight.
int CrowdedWeight(const TBoard& board, int x, int y) {
    int occupied = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx != 0 || dy != 0) && board.GetCell(x + dx, y + dy) != cellEmpty) {
                ++occupied;
            }
        }
    }
    return occupied >= kCrowdedFrom ? kCrowdedWeights[occupied - kCrowdedFrom] : 0;
}

// Marks the run of `colour` that starts on (x, y) and steps by (dx, dy), at most one edge long.
void MarkRun(const TBoard& board, int weights[kBoardSize][kBoardSize], int colour, int x, int y,
             int dx, int dy) {
    for (int i = 0; i < kBoardSize && board.GetCell(x, y) == colour; ++i) {
        weights[y][x] = kCornerRunWeight;
        x += dx;
        y += dy;
    }
}

// Both edge runs of each occupied corner, in the order (0, 0), (7, 7), (0, 7), (7, 0).
void MarkCornerRuns(const TBoard& board, int weights[kBoardSize][kBoardSize]) {
    constexpr int kLast = kBoardSize - 1;
    const int corners[4][2] = {{0, 0}, {kLast, kLast}, {0, kLast}, {kLast, 0}};
    for (const auto& corner : corners) {
        const int cx = corner[0];
        const int cy = corner[1];
        const int colour = board.GetCell(cx, cy);
        if (colour == cellEmpty) {
            continue;
        }
        const int inwardX = cx == 0 ? 1 : -1;
        const int inwardY = cy == 0 ? 1 : -1;
        MarkRun(board, weights, colour, cx, cy, inwardX, 0); // along the row
        MarkRun(board, weights, colour, cx, cy, 0, inwardY); // along the column
    }
}

// The start value of a node and the worst answer for the side to move.
int WorstFor(int turn) {
    return turn == cellBlack ? INT_MIN : INT_MAX;
}

} // namespace

int EvaluateBoard(const TBoard& board) {
    if (board.IsGameOver()) {
        return (board.GetCount(cellBlack) - board.GetCount(cellWhite)) * kFinishedDiscValue;
    }
    int weights[kBoardSize][kBoardSize];
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            weights[y][x] = g_squareWeights[y][x];
            if (board.GetCell(x, y) != cellEmpty) {
                if (const int crowded = CrowdedWeight(board, x, y); crowded > 0) {
                    weights[y][x] = crowded;
                }
            }
        }
    }
    MarkCornerRuns(board, weights);

    int score = 0;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const int cell = board.GetCell(x, y);
            if (cell == cellBlack) {
                score += weights[y][x];
            } else if (cell == cellWhite) {
                score -= weights[y][x];
            }
        }
    }
    return score;
}

int TPhase::Evaluate(const TBoard& board) const {
    return EvaluateBoard(board);
}

int TPhase::Search(TBoard board, int bound, int depth) {
    static_cast<void>(bound); // the exact search below needs no bound from the parent

    // Play this node's move on the copy; the root plays nothing.
    if (x == phasePass) {
        board.Pass();
    } else if (x != phaseRoot && !board.Place(x, y)) {
        return WorstFor(board.GetTurn());
    }

    // The exact minimax value of the position, with the first move in scan order that reaches
    // it; a plain minimax cut off by the parent's value alone gives the same root answer.
    // Below the root the value is exact too: a node the plain search cuts off stops at a value
    // already worse for its parent than the parent's best, and its exact value is worse still.
    const TFastAnswer answer = FastSearch(ToFastPosition(board), depth);
    value = answer.Value;
    if (x == phaseRoot) {
        x = answer.X;
        y = answer.Y;
    }
    return value;
}

TPhase SearchRoot(const TBoard& board, int depth) {
    TPhase root(phaseRoot, phaseRoot);
    root.Search(board, 0, depth);
    return root;
}

int ChooseDepth(int level, int empties) {
    switch (level) {
    case 1:
        return empties > 7 ? 1 : 3;
    case 2:
        return empties > 9 ? 3 : 5;
    case 3:
        return empties > 9 ? 5 : 7;
    case 4:
        return empties > 9 ? 5 : 9;
    case 5:
        return empties > 13 ? 5 : empties > 9 ? 7 : 9;
    case 6:
        return empties > 15 ? 5 : empties > 11 ? 7 : 9;
    case 7:
        return empties > 15 ? 7 : empties > 11 ? 9 : 11;
    case 8:
        return empties > 17 ? 7 : empties > 13 ? 9 : 11;
    case kLevelExtremePlus:
    case kLevelMaster:
        return empties > 17 ? 9 : empties > 13 ? 11 : 13;
    default:
        return 5;
    }
}

const char* LevelName(int level) {
    static const char* const names[] = {"Poor",      "Very Easy", "Easy",    "Normal",   "Hard",
                                        "Very Hard", "Expert",    "Extreme", "Extreme+", "Master"};
    if (level < kLevelMin || level > kLevelMax) {
        return nullptr;
    }
    return names[level - kLevelMin];
}

bool TSage::SetLevel(int newLevel) {
    if (newLevel < kLevelMin || newLevel > kLevelMax) {
        return false;
    }
    level = newLevel;
    return true;
}

namespace {

// The solver's move on `board`, where the side to move has one.
bool SolveForMaster(const TBoard& board, int* x, int* y) {
    const TFastPosition position = ToFastPosition(board);
    const TBitboard own = position.BlackToMove ? position.Black : position.White;
    const TBitboard opp = position.BlackToMove ? position.White : position.Black;
    TEndgameSolver solver;
    const TSolveResult result = solver.Solve(own, opp);
    if (!result.Solved || result.Square < 0) {
        return false;
    }
    *x = result.Square % kBoardSize;
    *y = result.Square / kBoardSize;
    return true;
}

} // namespace

bool TSage::Think(TBoard board, int* x, int* y) const {
    // A finished game has no move to offer. In play that is always a side that must pass, but
    // a board that records two passes while a move remains would otherwise be searched as a
    // leaf and answer "true" with the root's own (-1, -1).
    if (board.MustPass() || board.IsGameOver()) {
        return false;
    }
    const int empties = board.GetCount(cellEmpty);
    if (level == kLevelMaster && empties <= kExactEmpties) {
        return SolveForMaster(board, x, y);
    }
    const TPhase root = SearchRoot(board, ChooseDepth(level, empties));
    *x = root.x;
    *y = root.y;
    return true;
}
