#pragma once

#include "engine/FastBoard.h"

// The position score of an unfinished game in bitboard form, seen from the side owning `own`:
// the same number the board evaluation gives for Black when `own` holds Black's discs, and its
// negation when `own` holds White's. Each disc counts with its square weight, 8, 16 or 32 when
// six, seven or eight of its neighbours are occupied (off the board counts as occupied), and 128
// when it lies in an unbroken run of its corner's colour along an edge from that corner.
int FastEvaluate(TBitboard own, TBitboard opp);

// The evaluation after the side owning `own` plays the legal move `square`, seen from that side:
// FastEvaluate of the discs it then holds against the opponent's. The search scores the moves
// of a position this way, from what their evaluations share with the position's own.
int FastEvaluateAfter(TBitboard own, TBitboard opp, int square);

// The score after each legal move of the side owning `own`, by square, as the search scores the
// children of a node one move above its leaves: the final score when the move ends the game,
// else FastEvaluateAfter. The entries of other squares are left as they are.
void FastScoreMoves(TBitboard own, TBitboard opp, int scores[kFastSquareCount]);

// The score of a finished game from the side owning `own`: 100 per disc of difference.
inline int FastFinalScore(TBitboard own, TBitboard opp) {
    return 100 * (FastCount(own) - FastCount(opp));
}

// The search's leaf score: the final score when the game is over, the evaluation otherwise.
inline int FastLeafScore(TBitboard own, TBitboard opp, int passes) {
    return FastIsOver(own, opp, passes) ? FastFinalScore(own, opp) : FastEvaluate(own, opp);
}
