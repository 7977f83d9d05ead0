#pragma once

#include "engine/Reversiutil.h"

// The computer player's search in its plain form, as it ran before the bitboard engine took
// over, kept as the measure of the fast search: a fixed-depth minimax that copies the board into
// every node, keeps each node's children in a list and cuts off only by the parent's running
// value, over the program's plain square-by-square evaluation.

struct TReferenceAnswer {
    int X;      // the chosen move, phaseRoot for a root that is a leaf, phasePass for a pass
    int Y;      // its row, or the same marker
    int Value;  // the root's value from Black's side
    bool Spent; // the node budget ran out: the answer means nothing
};

// A root search of `depth` moves (a pass uses none).
TReferenceAnswer ReferenceSearch(const TBoard& board, int depth);
