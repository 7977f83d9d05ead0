#pragma once

#include "engine/EndgameSolver.h"
#include "engine/FastSearcher.h"

#include <atomic>

namespace OCTAVANE_FAST_ISA {

// The search behind TEndgameSolver, for one solve. Values are final disc differences seen from
// the side to move, empties to the winner, fail-soft: a value at or below alpha is an upper
// bound, at or above beta a lower bound, strictly between them exact.
class TExactSearch {
  public:
    TExactSearch(TSolverTable& table, const std::atomic<bool>* stop)
        : m_table(table), m_stop(stop) {}

    TSolveResult Solve(TBitboard own, TBitboard opp);
    TSolveResult SolveMove(TBitboard own, TBitboard opp, int square);

    // The square lists of the last few empty squares, at most this many: below this point a
    // node tries the empty squares in a fixed order, those of odd quarters first, for sorting
    // the moves costs more than it saves.
    static constexpr int kLastEmpties = 5;

  private:
    // The value of any position, whichever search its number of empty squares calls for.
    int Value(TBitboard own, TBitboard opp, int alpha, int beta, bool passed);
    // From kTableEmpties up: the table, the moves sorted by a costlier judgement, the stability
    // bound higher up.
    int Search(TBitboard own, TBitboard opp, int alpha, int beta, bool passed);
    // Between the last squares and kTableEmpties: the moves sorted by the replies they leave, in
    // a list on the stack no longer than the empty squares.
    int Sorted(TBitboard own, TBitboard opp, int alpha, int beta, bool passed);
    // The same, given the moves of the side to move.
    int SortedMoves(TBitboard own, TBitboard opp, TBitboard moves, int alpha, int beta,
                    bool passed);
    // The value of a move, from the mover's side, given the best value `low` (at least alpha)
    // found so far: one principal-variation step over Value.
    int MoveValue(TBitboard childOwn, TBitboard childOpp, bool first, int low, int beta);
    void OrderMoves(TBitboard own, TBitboard opp, TFastSearcher::TMoveList& list, int hint,
                    int alpha);
    // The last kLastEmpties squares, listed in the order they are tried.
    template <int N>
    int Last(TBitboard own, TBitboard opp, int alpha, int beta, const int* squares, bool passed);
    int LastOne(TBitboard own, TBitboard opp, int square);
    int LastSquares(TBitboard own, TBitboard opp, int alpha, int beta, bool passed);

    // A score no position reaches.
    static constexpr int kBeyond = 65;
    // The exact value of a position, by null-window probes. Given `square`, the position is the
    // root, and a walk down to its value sets the first move in scan order that reaches it.
    int Exact(TBitboard own, TBitboard opp, bool passed, int* square = nullptr);
    // Whether a move reaches `score`, asked of each move in scan order: `score` and the first
    // that does, which goes to `square`, or else a bound below `score` on them all.
    int FirstReaching(TBitboard own, TBitboard opp, int score, int* square);
    // The root: the exact value, and the first move in scan order that reaches it.
    int Root(TBitboard own, TBitboard opp, int* square);
    // True once the stop flag was seen; every value found since means nothing.
    bool Stopped();

    // Starts reading the table's bucket for a position, for a Find soon after.
    void Prefetch(TBitboard own, TBitboard opp) const;
    const TSolverEntry* Find(TBitboard own, TBitboard opp) const;
    void Store(TBitboard own, TBitboard opp, int alpha, int beta, int value, int move);

    TSolverTable& m_table;
    const std::atomic<bool>* m_stop;
    std::uint64_t m_nodes = 0;
    bool m_stopped = false;
};

TSolveResult SolveExact(TSolverTable& table, TBitboard own, TBitboard opp, int square,
                        const std::atomic<bool>* stop);

// The score of a finished game for the side owning `own`, empties to the winner.
[[gnu::always_inline]] inline int ExactFinalScore(TBitboard own, TBitboard opp) {
    const int ownCount = Count(own);
    const int oppCount = Count(opp);
    const int empties = 64 - ownCount - oppCount;
    const int difference = ownCount - oppCount;
    return difference > 0 ? difference + empties : difference < 0 ? difference - empties : 0;
}

// The discs of `discs` that no move can ever turn, given the occupied squares: each is, along
// every line through it, on a full line or next to the edge or to another such disc of its own.
TBitboard StableDiscs(TBitboard discs, TBitboard occupied);

// The quarters of the board (4x4 each) that hold an odd number of the `empty` squares. The last
// move in such a quarter tends to fall to the side that moves first there, so its squares are
// tried first.
TBitboard SolverOddQuarters(TBitboard empty);

} // namespace OCTAVANE_FAST_ISA
