#include "engine/FastSearcher.h"

#include <cassert>

namespace OCTAVANE_FAST_ISA {
namespace {

constexpr int kMobilityWeight = 64; // per move left to the opponent, in evaluation units
constexpr int kScoredDepth = 5;     // from here up moves are ordered by their children's scores
constexpr int kTableDepth = 3;      // nodes this deep or deeper use the transposition table
constexpr int kChildProbeDepth = 4; // nodes this deep or deeper look their children up first
constexpr int kKillerDepth = 2;     // nodes this deep try the last refutations first
constexpr int kCornerBonus = 248;   // a corner move goes ahead of almost any other there

} // namespace

void ListMoves(TBitboard own, TBitboard opp, TBitboard moves, TFastSearcher::TMoveList& list) {
    assert(Count(moves) <= TFastSearcher::TMoveList::kCapacity);
    list.Count = 0;
#if defined(OCTAVANE_FAST_MOVE_LANES)
    while (moves != 0) {
        long long squares[8];
        const int lanes = TakeLanes(moves, squares);
        alignas(64) TBitboard flips[8];
        _mm512_store_si512(flips, FlipsOfLanes(own, opp, LaneBits(squares)));
        for (int lane = 0; lane < lanes; ++lane) {
            list.Moves[list.Count++] = {flips[lane], static_cast<int>(squares[lane]), 0};
        }
    }
#else
    while (moves != 0) {
        const int square = FirstSquare(moves);
        moves &= moves - 1;
        list.Moves[list.Count++] = {Flips(square, own, opp), square, 0};
    }
#endif
}

void SortMoves(TFastSearcher::TMoveList& list) {
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

namespace {

// Near the leaves the moves are ordered by what each gains in this position's weights (twice
// the weight of the discs it turns), kCorners first: nearly the order of the children's own
// scores, for a fraction of their cost. Lists the moves with those scores, in scan order.
void ListGainMoves(TBitboard own, TBitboard opp, TBitboard moves, TFastSearcher::TMoveList& list) {
    const TWeightPlanes planes = WeightPlanes(own, opp);
#if defined(OCTAVANE_FAST_MOVE_LANES)
    list.Count = 0;
    auto spread = [](TBitboard bits) { return _mm512_set1_epi64(static_cast<long long>(bits)); };
    while (moves != 0) {
        long long squares[8];
        const int lanes = TakeLanes(moves, squares);
        const __m512i bits = LaneBits(squares);
        const __m512i flips = FlipsOfLanes(own, opp, bits);
        // Plane k counts 2^k, doubled: the gain turns the opponent's weight into the mover's.
        __m512i gain = _mm512_setzero_si512();
        for (int plane = 0; plane < kWeightPlanes; ++plane) {
            if (plane == kEmptyPlane) {
                continue;
            }
            const __m512i discs = _mm512_and_si512(flips, spread(planes.Plane[plane]));
            gain = _mm512_add_epi64(gain, _mm512_slli_epi64(_mm512_popcnt_epi64(discs), plane + 1));
        }
        gain = _mm512_mask_add_epi64(gain, _mm512_test_epi64_mask(bits, spread(kCorners)), gain,
                                     _mm512_set1_epi64(kCornerBonus));
        alignas(64) TBitboard flipLanes[8];
        alignas(64) long long gainLanes[8];
        _mm512_store_si512(flipLanes, flips);
        _mm512_store_si512(gainLanes, gain);
        for (int lane = 0; lane < lanes; ++lane) {
            list.Moves[list.Count++] = {flipLanes[lane], static_cast<int>(squares[lane]),
                                        static_cast<int>(gainLanes[lane])};
        }
    }
#else
    ListMoves(own, opp, moves, list);
    for (int i = 0; i < list.Count; ++i) {
        TFastSearcher::TMove& move = list.Moves[i];
        move.Score =
            2 * WeightOf(planes, move.Flips) + ((Bit(move.Square) & kCorners) ? kCornerBonus : 0);
    }
#endif
}

} // namespace

// Higher up, by the child's score less the replies it leaves the opponent.
void TFastSearcher::OrderMidgame(TBitboard own, TBitboard opp, TMoveList& list) const {
    const TEvalBase base = EvalBase(own, opp);
    for (int i = 0; i < list.Count; ++i) {
        TMove& move = list.Moves[i];
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | Bit(move.Square);
        move.Score = EvaluateAfter(base, move.Square, move.Flips) -
                     kMobilityWeight * Count(Moves(childOwn, childOpp));
    }
    SortMoves(list);
}

// The node one move above the leaves: every child is scored as it stands, from what this
// position's evaluation has in common with them. Corner moves go first, as they most often
// refute at once, and the squares next to the kCorners, which have the least weight, last; each
// group in scan order.
int TFastSearcher::LastPly(TBitboard own, TBitboard opp, TBitboard moves, int beta) {
    const TEvalBase base = EvalBase(own, opp);
    const TBitboard groups[] = {moves & kCorners, moves & ~(kCorners | kNextToCorners),
                                moves & kNextToCorners};
#if defined(OCTAVANE_FAST_MOVE_LANES)
    // The first child alone, as it refutes the node more often than not; the others eight at a
    // time. The result and the count of children scored are those of one at a time: the first
    // child in the order that reaches beta, else the best.
    long long order[kFastSquareCount + 8];
    int count = 0;
    for (TBitboard group : groups) {
        for (; group != 0; group &= group - 1) {
            order[count++] = FirstSquare(group);
        }
    }
    for (int lane = 0; lane < 8; ++lane) {
        order[count + lane] = order[0];
    }
    ++m_nodes;
    int best = ScoreAfter(base, static_cast<int>(order[0]));
    if (best >= beta) {
        return best;
    }
    const __m512i refuting = _mm512_set1_epi64(beta);
    for (int first = 1; first < count; first += 8) {
        const int lanes = Min(count - first, 8);
        const __mmask8 live = static_cast<__mmask8>((1U << lanes) - 1);
        const __m512i scores = ScoresAfterLanes(base, LaneBits(order + first));
        const __mmask8 refutes = _mm512_mask_cmpge_epi64_mask(live, scores, refuting);
        if (refutes != 0) {
            const int lane = __builtin_ctz(refutes);
            alignas(64) long long values[8];
            _mm512_store_si512(values, scores);
            m_nodes += static_cast<std::uint64_t>(lane) + 1;
            return static_cast<int>(values[lane]);
        }
        m_nodes += static_cast<std::uint64_t>(lanes);
        best = Max(best, static_cast<int>(_mm512_mask_reduce_max_epi64(live, scores)));
    }
    return best;
#else
    int best = -kInfinity;
    for (TBitboard group : groups) {
        for (; group != 0; group &= group - 1) {
            ++m_nodes;
            const int value = ScoreAfter(base, FirstSquare(group));
            if (value > best) {
                best = value;
                if (best >= beta) {
                    return best;
                }
            }
        }
    }
    return best;
#endif
}

int TFastSearcher::CachedLastPly(TBitboard own, TBitboard opp, TBitboard moves, int alpha,
                                 int beta) {
    TLastPlyEntry& entry = m_lastPlyCache[TFastTable::Hash(own, opp) & (kLastPlyCacheSize - 1)];
    if (entry.Own == own && entry.Opp == opp) {
        if (entry.Lower >= beta || entry.Lower == entry.Upper) {
            return entry.Lower;
        }
        if (entry.Upper <= alpha) {
            return entry.Upper;
        }
    } else {
        entry = {own, opp, -kInfinity, kInfinity};
    }
    const int value = LastPly(own, opp, moves, beta);
    if (value >= beta) {
        entry.Lower = Max(entry.Lower, value);
    } else {
        entry.Lower = entry.Upper = value;
    }
    return value;
}

int TFastSearcher::Midgame(TBitboard own, TBitboard opp, int depth, int alpha, int beta,
                           int passes) {
    assert(alpha < beta);
    ++m_nodes;
    if (IsOver(own, opp, passes)) {
        return FinalScore(own, opp);
    }
    if (depth <= 0) {
        return Evaluate(own, opp);
    }
    const TBitboard moves = Moves(own, opp);
    if (moves == 0) {
        return -Midgame(opp, own, depth, -beta, -alpha, passes + 1);
    }
    if (depth == 1) {
        return CachedLastPly(own, opp, moves, alpha, beta);
    }

    // Step 1. A bound from an earlier visit at the same depth may settle the node.
    int hint = TFastTable::kNoMove;
    const TFastTable::TEntry* entry = depth >= kTableDepth ? m_table.Find(own, opp) : nullptr;
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
    int best = -kInfinity;
    int bestSquare = TFastTable::kNoMove;
    int low = alpha;
    bool first = true;
    auto refutes = [&](int square, TBitboard flips) {
        const TBitboard childOwn = opp & ~flips;
        const TBitboard childOpp = own | flips | Bit(square);
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
    auto finish = [&] {
        if (depth >= kTableDepth) {
            m_table.Store(own, opp, depth, alpha, beta, best, bestSquare);
        }
        return best;
    };

    // Step 3. The table's move first, or else a recent refutation: when it refutes the node,
    // the other moves need neither their flips nor their order.
    TBitboard searched = 0;
    if (hint != TFastTable::kNoMove && (moves & Bit(hint)) != 0) {
        searched = Bit(hint);
        if (refutes(hint, Flips(hint, own, opp))) {
            return finish();
        }
    } else if (depth == kKillerDepth) {
        // Only the first of the two that is legal here is tried; when the second refutes, it
        // becomes the first.
        for (int k = 0; k < 2; ++k) {
            const int killer = m_killers[k];
            if (killer == TFastTable::kNoMove || (moves & Bit(killer)) == 0) {
                continue;
            }
            searched = Bit(killer);
            if (refutes(killer, Flips(killer, own, opp))) {
                m_killers[k] = m_killers[0];
                m_killers[0] = killer;
                return finish();
            }
            break;
        }
    }

    // Step 4. The other children, most promising first.
    TMoveList list;
    if (depth < kScoredDepth) {
        ListGainMoves(own, opp, moves & ~searched, list);
    } else {
        ListMoves(own, opp, moves & ~searched, list);
    }

    // A child already known to be bad enough for the opponent cuts the node off before any of
    // them is searched.
    if (depth >= kChildProbeDepth) {
        for (int i = 0; i < list.Count; ++i) {
            const TMove& move = list.Moves[i];
            const TFastTable::TEntry* child =
                m_table.Find(opp & ~move.Flips, own | move.Flips | Bit(move.Square));
            if (child != nullptr && child->Depth == depth - 1 && -child->Upper >= beta) {
                best = -child->Upper;
                bestSquare = move.Square;
                return finish();
            }
        }
    }
    if (depth < kScoredDepth) {
        SortMoves(list);
    } else {
        OrderMidgame(own, opp, list);
    }
    for (int i = 0; i < list.Count; ++i) {
        if (refutes(list.Moves[i].Square, list.Moves[i].Flips)) {
            if (depth == kKillerDepth && m_killers[0] != list.Moves[i].Square) {
                m_killers[1] = m_killers[0];
                m_killers[0] = list.Moves[i].Square;
            }
            break;
        }
    }
    return finish();
}

} // namespace OCTAVANE_FAST_ISA
