#pragma once

#include "engine/Reversiutil.h"
#include "engine/Weights.h"

// The computer player: a fixed-depth minimax search with a cut-off by the parent's running
// value, over a hand-made evaluation.
//
// Values are ints seen from Black's side whatever colour the computer plays: Black maximises,
// White minimises. A finished game is worth 100 per disc of difference; an unfinished position
// is a sum of per-disc weights from 1 to 128. Everything here is deterministic: the same
// position searched to the same depth always gives the same move, and the first move in
// row-major order (lowest y, then lowest x) wins among equals.

// Special move coordinates of a search node (both x and y hold them).
constexpr int phaseRoot = -1; // the root: no move of its own; afterwards it holds the choice
constexpr int phasePass = -2; // the side to move passes

// Score of a position from Black's side. Independent of the side to move; reads the board only.
// The weights are those of engine/Weights.h: the square's, or a crowded disc's, or a corner
// run's.
int EvaluateBoard(const TBoard& board);

// One node of the search tree: the move that leads into it and, once searched, its value.
class TPhase {
  public:
    // A node for the move (x, y), or for phaseRoot / phasePass given as both coordinates.
    TPhase(int moveX, int moveY) : x(moveX), y(moveY), value(0) {}

    // Leaf score: EvaluateBoard, the evaluation every search scores its leaves with. A node is
    // a plain value with no virtual operations: nothing derives from it.
    int Evaluate(const TBoard& board) const;

    // Plays this node's move on `board` (a copy; the caller's board never changes), searches
    // `depth` real moves further (a pass uses no depth) and stores the node's exact minimax
    // value in `value`. At the root x and y then hold the chosen move: the first in scan order
    // with the root's value, or phasePass when the side to move has none; a root that is
    // itself a leaf keeps phaseRoot. `bound`, the parent's running value, is not needed: the
    // exact value is as good for every cut-off the parent makes. An illegal move answers the
    // worst value for its mover and stores nothing. The search runs on the bitboard engine
    // (engine/FastSearch.h) and allocates nothing per node.
    int Search(TBoard board, int bound, int depth);

    int x;
    int y;
    int value;
};

// The root of a search of `depth` moves from `board`: x and y hold the chosen move and
// `value` its value. The side to move must have a legal move.
TPhase SearchRoot(const TBoard& board, int depth);

// Strength levels of the computer player. Master searches as Extreme+ does while the board is
// open, and from kExactEmpties empty squares on plays the exact endgame solver's move: it
// never errs at the end.
constexpr int kLevelMin = 1;
constexpr int kLevelExtremePlus = 9;
constexpr int kLevelMaster = 10;
constexpr int kLevelMax = kLevelMaster;
constexpr int kLevelDefault = 5;

// Search depth in moves for a level and the number of empty squares before the move; always
// odd. Master searches as deep as Extreme+; a level outside 1..10 searches 5 deep.
int ChooseDepth(int level, int empties);

// The name the level list shows for a level 1..10 ("Poor" .. "Extreme+", "Master"); null
// outside.
const char* LevelName(int level);

class TSage {
  public:
    TSage() : level(kLevelDefault) {}

    // Stores a level 1..10 and answers true; any other value is refused and the level kept.
    bool SetLevel(int newLevel);
    int GetLevel() const { return level; }

    // The move of the side to move on `board` (a copy; the caller's board never changes).
    // False when that side has no legal move and must pass (also on a finished game); *x and
    // *y are then left alone. True: *x, *y hold a legal square. Runs the whole search before
    // returning. Master's exact solve from kExactEmpties down takes at most about half a second.
    bool Think(TBoard board, int* x, int* y) const;

  private:
    int level;
};
