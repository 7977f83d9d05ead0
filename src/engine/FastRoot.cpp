#include "engine/FastSearcher.h"
#include "engine/FastSolver.h"

namespace OCTAVANE_FAST_ISA {
namespace {

constexpr int kTableLog2Buckets = 18; // 2 ways of 24 bytes: 12 MiB
constexpr int kOrderingDepthGap = 6;  // root moves are first ranked from this much shallower
constexpr int kSolveOrderingDepth = 2;

// The solver's discs are worth kFinishedDiscValue each in the midgame's hundredths.
int FloorDiscs(int value) {
    constexpr int unit = kFinishedDiscValue;
    return value >= 0 ? value / unit : -((-value + unit - 1) / unit);
}
int CeilDiscs(int value) {
    return -FloorDiscs(-value);
}

// A hundredths window as a disc window that keeps every fail-high and fail-low decision.
int ToDiscs(int bound, bool lower) {
    if (bound <= -kInfinity) {
        return -kDiscInfinity;
    }
    if (bound >= kInfinity) {
        return kDiscInfinity;
    }
    return lower ? FloorDiscs(bound) : CeilDiscs(bound);
}

// Never destroyed: a search may still be running on its worker thread when a library ends the
// process with exit(), and it must not find its table freed under it.
TFastSearcher& Searcher() {
    static TFastSearcher& searcher = *new TFastSearcher;
    return searcher;
}

} // namespace

TFastSearcher::TFastSearcher() : m_table(kTableLog2Buckets) {}

int TFastSearcher::RootChild(TBitboard own, TBitboard opp, int depth, int passes, int alpha,
                             int beta) {
    if (m_solving) {
        return -kFinishedDiscValue *
               Endgame(own, opp, -ToDiscs(beta, false), -ToDiscs(alpha, true), passes);
    }
    return -Midgame(own, opp, depth, -beta, -alpha, passes);
}

void TFastSearcher::OrderRoot(TBitboard own, TBitboard opp, TMoveList& list, int depth) {
    const bool solving = m_solving;
    m_solving = false;
    if (solving) {
        // Before a solve: a short search of every move, with the full window.
        for (int i = 0; i < list.Count; ++i) {
            TMove& move = list.Moves[i];
            move.Score = RootChild(opp & ~move.Flips, own | move.Flips | Bit(move.Square),
                                   kSolveOrderingDepth - 1, 0, -kInfinity, kInfinity);
        }
        SortMoves(list);
    } else {
        // Iterative deepening in steps of two, so that every pass has the leaves on the same
        // side as the real search: each ranks the moves for the next, and leaves in the table
        // the best replies that order the deeper trees.
        for (int shallow = Max(1, depth - kOrderingDepthGap); shallow < depth; shallow += 2) {
            RankRootMoves(own, opp, list, shallow);
        }
    }
    m_solving = solving;
}

void TFastSearcher::RankRootMoves(TBitboard own, TBitboard opp, TMoveList& list, int depth) {
    // The first move gets its value; the others a bound that says whether they beat the best
    // so far, and an exact value when they do.
    int best = -kInfinity;
    for (int i = 0; i < list.Count; ++i) {
        TMove& move = list.Moves[i];
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | Bit(move.Square);
        if (i == 0) {
            move.Score = best = RootChild(childOwn, childOpp, depth - 1, 0, -kInfinity, kInfinity);
            continue;
        }
        move.Score = RootChild(childOwn, childOpp, depth - 1, 0, best, best + 1);
        if (move.Score > best) {
            move.Score = best = RootChild(childOwn, childOpp, depth - 1, 0, best, kInfinity);
        }
    }
    SortMoves(list);
}

void TFastSearcher::Forget() {
    m_table.Clear();
    m_killers[0] = m_killers[1] = TFastTable::kNoMove;
    for (TLastPlyEntry& entry : m_lastPlyCache) {
        entry = TLastPlyEntry{};
    }
}

TFastIsaAnswer TFastSearcher::Search(const TFastPosition& position, int depth) {
    const TBitboard own = position.BlackToMove ? position.Black : position.White;
    const TBitboard opp = position.BlackToMove ? position.White : position.Black;
    const int sign = position.BlackToMove ? 1 : -1;
    m_table.NewSearch();

    // Step 1. The root may itself be a leaf.
    TFastIsaAnswer answer{kFastNoMove, kFastNoMove, 0};
    if (IsOver(own, opp, position.Passes) || depth <= 0) {
        answer.Value = sign * LeafScore(own, opp, position.Passes);
        return answer;
    }
    const TBitboard moves = Moves(own, opp);
    m_solving = depth >= 64 - Count(own | opp);

    // Step 2. No legal move: the one child is the pass, searched to the same depth.
    if (moves == 0) {
        answer.X = answer.Y = kFastPass;
        answer.Value =
            sign * RootChild(opp, own, depth, position.Passes + 1, -kInfinity, kInfinity);
        return answer;
    }

    // Step 3. Rank the moves, then find the best value and, among the moves that reach it,
    // the first in scan order. A move before the best so far in scan order takes its place
    // when it is at least as good, a move after it only when it is strictly better.
    TMoveList list;
    ListMoves(own, opp, moves, list);
    if (list.Count > 1 && (m_solving || depth > 2)) {
        OrderRoot(own, opp, list, depth);
    }
    int bestSquare = -1;
    int best = -kInfinity;
    for (int i = 0; i < list.Count; ++i) {
        const TMove& move = list.Moves[i];
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | Bit(move.Square);
        if (bestSquare < 0) {
            best = RootChild(childOwn, childOpp, depth - 1, 0, -kInfinity, kInfinity);
            bestSquare = move.Square;
            continue;
        }
        const int need = move.Square < bestSquare ? best : best + 1;
        const int probe = RootChild(childOwn, childOpp, depth - 1, 0, need - 1, need);
        if (probe >= need) {
            best = RootChild(childOwn, childOpp, depth - 1, 0, need - 1, kInfinity);
            bestSquare = move.Square;
        }
    }
    answer.X = bestSquare % 8;
    answer.Y = bestSquare / 8;
    answer.Value = sign * best;
    return answer;
}

namespace {

TFastIsaAnswer Search(const TFastPosition& position, int depth) {
    return Searcher().Search(position, depth);
}

void Forget() {
    Searcher().Forget();
}

std::uint64_t Nodes() {
    return Searcher().Nodes();
}

int CountBits(TBitboard bits) {
    return Count(bits);
}

int EvaluateAfterMove(TBitboard own, TBitboard opp, int square) {
    return EvaluateAfter(EvalBase(own, opp), square, Flips(square, own, opp));
}

void FlipsOfMoves(TBitboard own, TBitboard opp, TBitboard* flips) {
    TFastSearcher::TMoveList list;
    ListMoves(own, opp, Moves(own, opp), list);
    for (int i = 0; i < list.Count; ++i) {
        flips[list.Moves[i].Square] = list.Moves[i].Flips;
    }
}

void ScoreMoves(TBitboard own, TBitboard opp, int* scores) {
    const TEvalBase base = EvalBase(own, opp);
    TBitboard moves = Moves(own, opp);
#if defined(OCTAVANE_FAST_MOVE_LANES)
    while (moves != 0) {
        long long squares[8];
        const int lanes = TakeLanes(moves, squares);
        alignas(64) long long values[8];
        _mm512_store_si512(values, ScoresAfterLanes(base, LaneBits(squares)));
        for (int lane = 0; lane < lanes; ++lane) {
            scores[squares[lane]] = static_cast<int>(values[lane]);
        }
    }
#else
    for (; moves != 0; moves &= moves - 1) {
        scores[FirstSquare(moves)] = ScoreAfter(base, FirstSquare(moves));
    }
#endif
}

} // namespace

extern const TFastIsaEntry isaEntry = {
    Moves,        Flips,      Perft,  CountBits, Evaluate, EvaluateAfterMove,
    FlipsOfMoves, ScoreMoves, Search, Forget,    Nodes,    SolveExact};

} // namespace OCTAVANE_FAST_ISA
