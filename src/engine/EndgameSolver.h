#pragma once

#include "engine/FastBoard.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// The exact endgame solver: the final disc difference with best play by both sides, and a move
// that reaches it. A search of its own beside the levels' fast search, sharing only its bitboard
// kernels and the instruction set chosen at start.
//
// Squares are bits as in FastBoard.h: a1 is bit 0, h1 bit 7, a8 bit 56. Positions are seen from
// the side to move (`own` its discs, `opp` the other side's). Scores count as tournaments count:
// the empty squares left when the game ends go to the winner (a draw stays 0).

constexpr int kSolvePass = -2;   // the side to move must pass
constexpr int kSolveNoMove = -1; // the game is over: neither side can move

struct TSolveResult {
    bool Solved = false; // false: stopped from outside; nothing else is meaningful
    int Square = kSolveNoMove;
    int Score = 0; // final disc difference for the side to move, empties to the winner
    std::uint64_t Nodes = 0;
};

// The table of positions one solver has solved or bounded, shared by nothing else. Filled with
// zeros it is empty: no entry has both masks empty.
struct TSolverEntry {
    TBitboard Own;
    TBitboard Opp;
    std::int8_t Lower; // the final score is at least this...
    std::int8_t Upper; // ...and at most this
    std::uint8_t Move; // the best move found, or kSolverNoMove
    std::uint8_t Empties;
    std::uint8_t Age;
};
inline constexpr std::uint8_t kSolverNoMove = 255;

struct TSolverTable {
    TSolverEntry* Entries = nullptr;
    std::size_t BucketMask = 0; // buckets - 1; each bucket holds kSolverWays entries
    std::uint8_t Age = 0;       // of the solve running now; older entries give way first
};
inline constexpr int kSolverWays = 2;

// From this many empty squares down the hint, the analysis and the Master level ask the solver,
// the same on every platform. bench/enginefast/HintPoint.cpp measures where it should stand: the
// largest count at which the slowest of 100 positions from level-9 self-play games (100 games
// from distinct random four-move openings, one position at each count from each game) solves
// within 0.5 s of one core's time in the native build.
inline constexpr int kExactEmpties = 18;

// One per running search: it owns its table, so several solvers may run at once on different
// threads. Not for use from two threads at once. Every answer is deterministic: the same position
// always gives the same score and move (the first in scan order among equals), whatever the table
// holds; only the nodes and the time depend on it.
class TEndgameSolver {
  public:
    // A table of 2^log2Buckets buckets of kSolverWays entries (24 bytes each), allocated here
    // and never again; its pages are touched only as it fills.
    static constexpr int kDefaultLog2Buckets = 19;
    explicit TEndgameSolver(int log2Buckets = kDefaultLog2Buckets);
    ~TEndgameSolver();
    TEndgameSolver(const TEndgameSolver&) = delete;
    TEndgameSolver& operator=(const TEndgameSolver&) = delete;

    // The best move (first in scan order among equals), kSolvePass or kSolveNoMove, and the
    // exact score. `stop`, when given, is read while the search runs: once it holds true the
    // solve returns soon with Solved false.
    TSolveResult Solve(TBitboard own, TBitboard opp, const std::atomic<bool>* stop = nullptr);

    // The exact result of playing `square` (a legal move of the side to move), from the mover's
    // side: what the analysis shows on that square. Square is `square`; a square that is not a
    // legal move gives Solved false.
    TSolveResult SolveMove(TBitboard own, TBitboard opp, int square,
                           const std::atomic<bool>* stop = nullptr);

  private:
    struct TFree {
        void operator()(TSolverEntry* entries) const;
    };
    std::unique_ptr<TSolverEntry[], TFree> m_entries;
    TSolverTable m_table;
};
