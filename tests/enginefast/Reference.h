#pragma once

#include "engine/Reversiutil.h"
#include "engine/discsage.h"

// The computer player's search in its plain form, as TPhase::Search ran it before the bitboard
// engine took over, kept as the measure of the fast search: a fixed-depth minimax that copies
// the board into every node, keeps each node's children in a list and cuts off only by the
// parent's running value, over the program's plain square-by-square evaluation.

// One node of the plain search; x, y are the move into it, or phaseRoot / phasePass.
class TReferencePhase {
  public:
    TReferencePhase(int x, int y) : x(x), y(y), value(0) {}
    virtual ~TReferencePhase() = default;
    TReferencePhase(const TReferencePhase&) = default;
    TReferencePhase& operator=(const TReferencePhase&) = default;

    virtual int Evaluate(const TBoard& board) const { return EvaluateBoard(board); }
    int Search(TBoard board, int bound, int depth);

    int x;
    int y;
    int value;
};

struct TReferenceAnswer {
    int X;
    int Y;
    int Value;
};

// A root search of `depth` moves: the chosen move (phaseRoot when the root is itself a leaf,
// phasePass when the side to move has no legal move) and the root's value.
TReferenceAnswer ReferenceSearch(const TBoard& board, int depth);

// The reference computer player's move for `level`, as Think answers it: false for a pass.
bool ReferenceThink(const TBoard& board, int level, int* x, int* y);
