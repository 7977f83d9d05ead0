#include "engine/FastEval.h"
#include "engine/FastSearcher.h"

namespace {

constexpr int infinity = 30000;    // beyond every score
constexpr int hintScore = 1 << 20; // the table's move is searched first
constexpr int mobilityWeight = 16; // per move left to the opponent, in evaluation units
constexpr int mobilityDepth = 4;   // below this the mobility costs more than it saves
constexpr int tableDepth = 3;      // nodes this deep or deeper use the transposition table

} // namespace

void FastListMoves(TBitboard own, TBitboard opp, TBitboard moves, TFastSearcher::TMoveList& list) {
    list.Count = 0;
    while (moves != 0) {
        const int square = std::countr_zero(moves);
        moves &= moves - 1;
        list.Moves[list.Count++] = {FastFlips(square, own, opp), square, 0};
    }
}

void FastSortMoves(TFastSearcher::TMoveList& list) {
    for (int i = 1; i < list.Count; ++i) {
        const TFastSearcher::TMove move = list.Moves[i];
        int j = i;
        while (j > 0 && list.Moves[j - 1].Score < move.Score) {
            list.Moves[j] = list.Moves[j - 1];
            --j;
        }
        list.Moves[j] = move;
    }
}

void TFastSearcher::OrderMidgame(TBitboard own, TBitboard opp, TMoveList& list, int hint,
                                 int depth) const {
    for (int i = 0; i < list.Count; ++i) {
        TMove& move = list.Moves[i];
        if (move.Square == hint) {
            move.Score = hintScore;
            continue;
        }
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | FastBit(move.Square);
        move.Score = -FastEvaluate(childOwn, childOpp);
        if (depth >= mobilityDepth) {
            move.Score -= mobilityWeight * FastCount(FastMoves(childOwn, childOpp));
        }
    }
    FastSortMoves(list);
}

// The node one move above the leaves: every child is scored as it stands. Corner moves go
// first, as they most often refute at once; the rest follow in scan order.
int TFastSearcher::LastPly(TBitboard own, TBitboard opp, TBitboard moves, int beta) {
    constexpr TBitboard corners = 0x8100000000000081ULL;
    int best = -infinity;
    for (TBitboard batch : {moves & corners, moves & ~corners}) {
        while (batch != 0) {
            const int square = std::countr_zero(batch);
            batch &= batch - 1;
            const TBitboard flips = FastFlips(square, own, opp);
            ++m_nodes;
            const int value = -FastLeafScore(opp & ~flips, own | flips | FastBit(square), 0);
            if (value > best) {
                best = value;
                if (best >= beta) {
                    return best;
                }
            }
        }
    }
    return best;
}

int TFastSearcher::Midgame(TBitboard own, TBitboard opp, int depth, int alpha, int beta,
                           int passes) {
    ++m_nodes;
    if (FastIsOver(own, opp, passes)) {
        return FastFinalScore(own, opp);
    }
    if (depth <= 0) {
        return FastEvaluate(own, opp);
    }
    const TBitboard moves = FastMoves(own, opp);
    if (moves == 0) {
        return -Midgame(opp, own, depth, -beta, -alpha, passes + 1);
    }
    if (depth == 1) {
        return LastPly(own, opp, moves, beta);
    }

    // Step 1. A bound from an earlier visit at the same depth may settle the node.
    int hint = TFastTable::noMove;
    const TFastTable::TEntry* entry = depth >= tableDepth ? m_table.Find(own, opp) : nullptr;
    if (entry != nullptr) {
        if (entry->Depth == depth) {
            if (entry->Lower >= beta || entry->Lower == entry->Upper) {
                return entry->Lower;
            }
            if (entry->Upper <= alpha) {
                return entry->Upper;
            }
        }
        hint = entry->Move;
    }

    // Step 2. The children, most promising first.
    TMoveList list;
    FastListMoves(own, opp, moves, list);
    OrderMidgame(own, opp, list, hint, depth);

    // Step 3. Principal variation search: the first child with the full window, the others
    // with a null window, searched again only when they might be better.
    int best = -infinity;
    int bestSquare = list.Moves[0].Square;
    int low = alpha;
    for (int i = 0; i < list.Count; ++i) {
        const TMove& move = list.Moves[i];
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | FastBit(move.Square);
        int value;
        if (i == 0) {
            value = -Midgame(childOwn, childOpp, depth - 1, -beta, -low, 0);
        } else {
            value = -Midgame(childOwn, childOpp, depth - 1, -low - 1, -low, 0);
            if (value > low && value < beta) {
                value = -Midgame(childOwn, childOpp, depth - 1, -beta, -low, 0);
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
    if (depth >= tableDepth) {
        m_table.Store(own, opp, depth, alpha, beta, best, bestSquare);
    }
    return best;
}
