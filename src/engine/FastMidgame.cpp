#include "engine/FastEval.h"
#include "engine/FastSearcher.h"

namespace {

constexpr int infinity = 30000;    // beyond every score
constexpr int hintScore = 1 << 20; // the table's move is searched first
constexpr int mobilityWeight = 64; // per move left to the opponent, in evaluation units
constexpr int mobilityDepth = 3;   // below this the mobility costs more than it saves
constexpr int tableDepth = 3;      // nodes this deep or deeper use the transposition table
constexpr int childProbeDepth = 4; // nodes this deep or deeper look their children up first

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
// first, as they most often refute at once, and the squares next to the corners, which have
// the least weight, last; each group in scan order.
int TFastSearcher::LastPly(TBitboard own, TBitboard opp, TBitboard moves, int beta) {
    constexpr TBitboard corners = 0x8100000000000081ULL;
    constexpr TBitboard nextToCorners = 0x42C300000000C342ULL;
    int best = -infinity;
    for (TBitboard batch :
         {moves & corners, moves & ~(corners | nextToCorners), moves & nextToCorners}) {
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

    // Step 2. Principal variation search: the first child with the full window, the others
    // with a null window, searched again only when they might be better.
    int best = -infinity;
    int bestSquare = TFastTable::noMove;
    int low = alpha;
    bool first = true;
    auto refutes = [&](int square, TBitboard flips) {
        const TBitboard childOwn = opp & ~flips;
        const TBitboard childOpp = own | flips | FastBit(square);
        int value;
        if (first) {
            first = false;
            value = -Midgame(childOwn, childOpp, depth - 1, -beta, -low, 0);
        } else {
            value = -Midgame(childOwn, childOpp, depth - 1, -low - 1, -low, 0);
            if (value > low && value < beta) {
                value = -Midgame(childOwn, childOpp, depth - 1, -beta, -low, 0);
            }
        }
        if (value > best) {
            best = value;
            bestSquare = square;
            if (best > low) {
                low = best;
            }
        }
        return low >= beta;
    };

    // Step 3. The table's move first: when it refutes the node, the other moves need neither
    // their flips nor their order.
    if (hint != TFastTable::noMove && (moves & FastBit(hint)) != 0) {
        if (refutes(hint, FastFlips(hint, own, opp))) {
            m_table.Store(own, opp, depth, alpha, beta, best, bestSquare);
            return best;
        }
    }
    const int searched = first ? TFastTable::noMove : hint;

    // Step 4. The other children, most promising first.
    TMoveList list;
    FastListMoves(own, opp, moves & ~(searched == TFastTable::noMove ? 0 : FastBit(searched)),
                  list);

    // A child already known to be bad enough for the opponent cuts the node off before any of
    // them is searched.
    if (depth >= childProbeDepth) {
        for (int i = 0; i < list.Count; ++i) {
            const TMove& move = list.Moves[i];
            const TFastTable::TEntry* child =
                m_table.Find(opp & ~move.Flips, own | move.Flips | FastBit(move.Square));
            if (child != nullptr && child->Depth == depth - 1 && -child->Upper >= beta) {
                best = -child->Upper;
                bestSquare = move.Square;
                m_table.Store(own, opp, depth, alpha, beta, best, bestSquare);
                return best;
            }
        }
    }
    OrderMidgame(own, opp, list, hint, depth);
    for (int i = 0; i < list.Count; ++i) {
        if (refutes(list.Moves[i].Square, list.Moves[i].Flips)) {
            break;
        }
    }
    if (depth >= tableDepth) {
        m_table.Store(own, opp, depth, alpha, beta, best, bestSquare);
    }
    return best;
}
