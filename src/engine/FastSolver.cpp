#include "engine/FastSolver.h"

#include <cassert>

namespace OCTAVANE_FAST_ISA {
namespace {

// From this many empty squares up a node uses the table, sorts its moves and tries the
// stability bound; below, the moves cost less to search than to sort.
constexpr int kTableEmpties = 7;

// Move ordering, fastest first: the fewer replies a move leaves the opponent (a corner reply
// counting twice), the sooner it is tried; corners and moves into quarters with an odd number of
// empty squares go a little ahead among equals. The table's move goes first of all.
constexpr int kReplyScore = 16;
constexpr int kCornerScore = 8;
constexpr int kParityScore = 4;
constexpr int kHintScore = 1 << 20;

TBitboard Hash(TBitboard own, TBitboard opp) {
    const TBitboard key =
        own * 0x9E3779B97F4A7C15ULL ^ (opp + 0x632BE59BD9B4E019ULL) * 0xBF58476D1CE4E5B9ULL;
    return key ^ (key >> 29);
}

} // namespace

bool TExactSearch::Stopped() {
    if (!m_stopped && m_stop != nullptr && m_stop->load(std::memory_order_relaxed)) {
        m_stopped = true;
    }
    return m_stopped;
}

const TSolverEntry* TExactSearch::Find(TBitboard own, TBitboard opp) const {
    const TSolverEntry* bucket =
        m_table.Entries + (Hash(own, opp) & m_table.BucketMask) * kSolverWays;
    for (int way = 0; way < kSolverWays; ++way) {
        if (bucket[way].Own == own && bucket[way].Opp == opp) {
            return &bucket[way];
        }
    }
    return nullptr;
}

void TExactSearch::Store(TBitboard own, TBitboard opp, int alpha, int beta, int value, int move) {
    TSolverEntry* bucket = m_table.Entries + (Hash(own, opp) & m_table.BucketMask) * kSolverWays;
    const int empties = 64 - Count(own | opp);
    TSolverEntry* slot = nullptr;
    for (int way = 0; way < kSolverWays && slot == nullptr; ++way) {
        if (bucket[way].Own == own && bucket[way].Opp == opp) {
            slot = &bucket[way];
        }
    }
    if (slot == nullptr) {
        // Another position gives way: one from an earlier solve first, then the one that took
        // less work to find.
        slot = &bucket[0];
        for (int way = 1; way < kSolverWays; ++way) {
            const bool older = bucket[way].Age != m_table.Age && slot->Age == m_table.Age;
            const bool sameAge = (bucket[way].Age == m_table.Age) == (slot->Age == m_table.Age);
            if (older || (sameAge && bucket[way].Empties < slot->Empties)) {
                slot = &bucket[way];
            }
        }
        *slot = {own, opp, -64, 64, kSolverNoMove, 0, 0};
    }
    slot->Empties = static_cast<std::uint8_t>(empties);
    slot->Age = m_table.Age;
    if (value <= alpha) {
        slot->Upper = static_cast<std::int8_t>(Min(slot->Upper, value));
    } else if (value >= beta) {
        slot->Lower = static_cast<std::int8_t>(Max(slot->Lower, value));
    } else {
        slot->Lower = slot->Upper = static_cast<std::int8_t>(value);
    }
    if (value > alpha || slot->Move == kSolverNoMove) {
        slot->Move = static_cast<std::uint8_t>(move);
    }
}

int TExactSearch::Value(TBitboard own, TBitboard opp, int alpha, int beta, bool passed) {
    const int empties = 64 - Count(own | opp);
    if (empties >= kTableEmpties) {
        return Search(own, opp, alpha, beta, passed);
    }
    if (empties > kLastEmpties) {
        return Small(own, opp, alpha, beta, passed);
    }
    return LastSquares(own, opp, alpha, beta, passed);
}

void TExactSearch::OrderMoves(TBitboard own, TBitboard opp, TFastSearcher::TMoveList& list,
                              int hint, int alpha) {
    (void)alpha;
    const TBitboard odd = SolverOddQuarters(~(own | opp));
    for (int i = 0; i < list.Count; ++i) {
        TFastSearcher::TMove& move = list.Moves[i];
        if (move.Square == hint) {
            move.Score = kHintScore;
            continue;
        }
        const TBitboard replies = Moves(opp & ~move.Flips, own | move.Flips | Bit(move.Square));
        move.Score = -kReplyScore * (Count(replies) + Count(replies & kCorners));
        if ((Bit(move.Square) & kCorners) != 0) {
            move.Score += kCornerScore;
        }
        if ((Bit(move.Square) & odd) != 0) {
            move.Score += kParityScore;
        }
    }
    SortMoves(list);
}

int TExactSearch::Search(TBitboard own, TBitboard opp, int alpha, int beta, bool passed) {
    assert(alpha < beta);
    ++m_nodes;
    if (Stopped()) {
        return 0;
    }
    // Step 1. A side without a move passes; with neither, the game is over.
    const TBitboard moves = Moves(own, opp);
    if (moves == 0) {
        return passed ? ExactFinalScore(own, opp) : -Search(opp, own, -beta, -alpha, true);
    }
    // Step 2. The other side's discs that can never turn bound what this side can reach.
    if (64 - 2 * Count(opp) <= alpha) {
        const int upper = 64 - 2 * Count(StableDiscs(opp, own | opp));
        if (upper <= alpha) {
            return upper;
        }
    }
    // Step 3. What the table knows of this position.
    int hint = kSolverNoMove;
    if (const TSolverEntry* entry = Find(own, opp)) {
        if (entry->Lower >= beta || entry->Lower == entry->Upper) {
            return entry->Lower;
        }
        if (entry->Upper <= alpha) {
            return entry->Upper;
        }
        hint = entry->Move;
    }
    // Step 4. The moves, likely best first; the first with the whole window, the others with a
    // null window that a better one breaks through.
    TFastSearcher::TMoveList list;
    ListMoves(own, opp, moves, list);
    OrderMoves(own, opp, list, hint, alpha);
    int best = -kBeyond;
    int bestSquare = list.Moves[0].Square;
    int low = alpha;
    for (int i = 0; i < list.Count; ++i) {
        const TFastSearcher::TMove& move = list.Moves[i];
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | Bit(move.Square);
        int value;
        if (i == 0) {
            value = -Value(childOwn, childOpp, -beta, -low, false);
        } else {
            value = -Value(childOwn, childOpp, -low - 1, -low, false);
            if (value > low && value < beta) {
                value = -Value(childOwn, childOpp, -beta, -low, false);
            }
        }
        if (m_stopped) {
            return 0;
        }
        if (value > best) {
            best = value;
            bestSquare = move.Square;
            if (best > low) {
                low = best;
                if (low >= beta) {
                    break;
                }
            }
        }
    }
    // Step 5. What was learnt, as a bound or as the exact value.
    Store(own, opp, alpha, beta, best, bestSquare);
    return best;
}

int TExactSearch::Root(TBitboard own, TBitboard opp, int* square) {
    TFastSearcher::TMoveList list;
    ListMoves(own, opp, Moves(own, opp), list);
    const TSolverEntry* entry = Find(own, opp);
    OrderMoves(own, opp, list, entry != nullptr ? entry->Move : kSolverNoMove, -kBeyond);
    int best = -kBeyond;
    int bestSquare = kSolveNoMove;
    for (int i = 0; i < list.Count && !m_stopped; ++i) {
        const TFastSearcher::TMove& move = list.Moves[i];
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | Bit(move.Square);
        if (i == 0) {
            best = -Value(childOwn, childOpp, -kBeyond, kBeyond, false);
            bestSquare = move.Square;
            continue;
        }
        // Every move is asked whether it beats the best so far; one earlier in scan order also
        // whether it equals it, for the first among equals wins.
        const bool earlier = move.Square < bestSquare;
        int value = -Value(childOwn, childOpp, -best - 1, earlier ? -best + 1 : -best, false);
        if (value > best) {
            value = -Value(childOwn, childOpp, -kBeyond, -best, false);
        }
        if (value > best || (earlier && value == best)) {
            best = value;
            bestSquare = move.Square;
        }
    }
    if (!m_stopped) {
        Store(own, opp, -kBeyond, kBeyond, best, bestSquare);
    }
    *square = bestSquare;
    return best;
}

TSolveResult TExactSearch::Solve(TBitboard own, TBitboard opp) {
    TSolveResult result;
    if (Stopped()) {
        return result;
    }
    if (Moves(own, opp) != 0) {
        result.Score = Root(own, opp, &result.Square);
    } else if (Moves(opp, own) != 0) {
        result.Square = kSolvePass;
        result.Score = -Value(opp, own, -kBeyond, kBeyond, true);
    } else {
        result.Square = kSolveNoMove;
        result.Score = ExactFinalScore(own, opp);
    }
    result.Nodes = m_nodes;
    result.Solved = !m_stopped;
    return result;
}

TSolveResult TExactSearch::SolveMove(TBitboard own, TBitboard opp, int square) {
    TSolveResult result;
    result.Square = square;
    const TBitboard flips = Flips(square, own, opp);
    if (flips == 0 || Stopped()) {
        return result;
    }
    result.Score = -Value(opp & ~flips, own | flips | Bit(square), -kBeyond, kBeyond, false);
    result.Nodes = m_nodes;
    result.Solved = !m_stopped;
    return result;
}

TSolveResult SolveExact(TSolverTable& table, TBitboard own, TBitboard opp, int square,
                        const std::atomic<bool>* stop) {
    TExactSearch search(table, stop);
    return square < 0 ? search.Solve(own, opp) : search.SolveMove(own, opp, square);
}

} // namespace OCTAVANE_FAST_ISA
