#include "engine/FastSearcher.h"

#include <cassert>

namespace OCTAVANE_FAST_ISA {
namespace {

constexpr int kTableEmpties = 7;    // from this many empty squares up the table is used
constexpr int kOrderedEmpties = 6;  // from this many up the children are sorted
constexpr int kHintScore = 1 << 20; // the table's move is searched first

int DiscDifference(TBitboard own, TBitboard opp) {
    return Count(own) - Count(opp);
}

} // namespace

void TFastSearcher::OrderEndgame(TBitboard own, TBitboard opp, TMoveList& list, int hint) const {
    // Fastest first: the move that leaves the opponent the fewest replies, kCorners a little
    // ahead because they can never be taken back.
    for (int i = 0; i < list.Count; ++i) {
        TMove& move = list.Moves[i];
        if (move.Square == hint) {
            move.Score = kHintScore;
            continue;
        }
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | Bit(move.Square);
        move.Score = -16 * Count(Moves(childOwn, childOpp));
        if ((Bit(move.Square) & kCorners) != 0) {
            move.Score += 8;
        }
    }
    SortMoves(list);
}

// Few empty squares left: plain alpha-beta in scan order, no table and no sorting.
int TFastSearcher::EndgameSmall(TBitboard own, TBitboard opp, TBitboard moves, int alpha,
                                int beta) {
    int best = -kDiscInfinity;
    while (moves != 0) {
        const int square = FirstSquare(moves);
        moves &= moves - 1;
        const TBitboard flips = Flips(square, own, opp);
        const int value =
            -Endgame(opp & ~flips, own | flips | Bit(square), -beta, -Max(alpha, best), 0);
        if (value > best) {
            best = value;
            if (best >= beta) {
                break;
            }
        }
    }
    return best;
}

int TFastSearcher::Endgame(TBitboard own, TBitboard opp, int alpha, int beta, int passes) {
    assert(alpha < beta);
    ++m_nodes;
    if (IsOver(own, opp, passes)) {
        return DiscDifference(own, opp);
    }
    const TBitboard moves = Moves(own, opp);
    if (moves == 0) {
        return -Endgame(opp, own, -beta, -alpha, passes + 1);
    }
    const int empties = 64 - Count(own | opp);
    if (empties < kOrderedEmpties) {
        return EndgameSmall(own, opp, moves, alpha, beta);
    }

    int hint = TFastTable::kNoMove;
    if (empties >= kTableEmpties) {
        if (const TFastTable::TEntry* entry = m_table.Find(own, opp)) {
            if (entry->Depth == TFastTable::kSolvedDepth) {
                if (entry->Lower >= beta || entry->Lower == entry->Upper) {
                    return entry->Lower;
                }
                if (entry->Upper <= alpha) {
                    return entry->Upper;
                }
            }
            hint = entry->Move;
        }
    }

    TMoveList list;
    ListMoves(own, opp, moves, list);
    OrderEndgame(own, opp, list, hint);

    int best = -kDiscInfinity;
    int bestSquare = list.Moves[0].Square;
    int low = alpha;
    for (int i = 0; i < list.Count; ++i) {
        const TMove& move = list.Moves[i];
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | Bit(move.Square);
        int value;
        if (i == 0) {
            value = -Endgame(childOwn, childOpp, -beta, -low, 0);
        } else {
            value = -Endgame(childOwn, childOpp, -low - 1, -low, 0);
            if (value > low && value < beta) {
                value = -Endgame(childOwn, childOpp, -beta, -low, 0);
            }
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
    if (empties >= kTableEmpties) {
        m_table.Store(own, opp, TFastTable::kSolvedDepth, alpha, beta, best, bestSquare);
    }
    return best;
}

} // namespace OCTAVANE_FAST_ISA
