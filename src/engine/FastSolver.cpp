#include "engine/FastSolver.h"

#include "engine/FastFlips.h"
#include "engine/FastPatterns.h"

#include <cassert>

namespace OCTAVANE_FAST_ISA {
namespace {

// From this many empty squares up a node uses the table. Every node above the last squares sorts
// its moves; below this point by their replies alone, in a list no longer than the empty squares.
constexpr int kTableEmpties = 9;
// From this many up a node first tries the bound of the other side's stable discs. Below, it
// costs more time than the nodes it saves: on FFO 40-44 it cut no more than 2% of them.
constexpr int kStableEmpties = 12;
// From this many up, a node first looks for a child the table already shows good enough.
constexpr int kChildProbeEmpties = 11;

// Move ordering, fastest first: the fewer replies a move leaves the opponent (a corner reply
// counting twice), the sooner it is tried; corners and moves into quarters with an odd number of
// empty squares go a little ahead among equals. The table's move goes first of all.
constexpr int kReplyScore = 64;
constexpr int kNearScore = 8; // per empty square next to the mover's discs: room for replies
constexpr int kCornerScore = 32;
constexpr int kParityScore = 16;
constexpr int kHintScore = 1 << 26;
// From kGuessEmpties up, each move is judged as well by the guess at the final score of the
// position it leaves (FastPatterns.h, in eighths of a disc), from kShallowEmpties up by a search
// one move deeper over that guess, and from kDeepEmpties up two moves deeper. The guess orders
// best weighed lightly against the replies: a disc of it counts a quarter of a reply alone and
// half a reply after a search. At two replies a disc, as it was, it took 13-21% more nodes on
// self-play and FFO positions, and from 14 empty squares only, 7-9% more. Two moves deep pays
// only at the few nodes that head the largest trees: from 22 empty squares it saved 7% of the
// nodes on 60 self-play positions at 23-24 and 8% on FFO 40-44 (from 21, 10% and 5%); from 20
// it took more nodes at 20 and on FFO, and from 19 more time than it saved.
constexpr int kGuessEmpties = 12;
constexpr int kShallowEmpties = 18;
constexpr int kDeepEmpties = 22;
constexpr int kGuessWeight = 2;
constexpr int kShallowWeight = 4;
constexpr int kGuessInfinity = 1 << 18;

// One step of the principal-variation search: the value of a move from the mover's side, given
// the best value `low` (at least alpha) found so far. The first move is searched with the whole
// window, the others with a null window that only a better one breaks through. `child(lo, hi)`
// searches the move with the window (lo, hi) seen from the other side, and negates the result.
template <class TChild>
[[gnu::always_inline]] inline int PvsValue(const TChild& child, bool first, int low, int beta) {
    const int value = child(first ? -beta : -low - 1, -low);
    return !first && value > low && value < beta ? child(-beta, -low) : value;
}

TBitboard Hash(TBitboard own, TBitboard opp) {
    const TBitboard key =
        own * 0x9E3779B97F4A7C15ULL ^ (opp + 0x632BE59BD9B4E019ULL) * 0xBF58476D1CE4E5B9ULL;
    return key ^ (key >> 29);
}

// The empty squares next to a disc of `discs`.
TBitboard Neighbours(TBitboard discs, TBitboard empty) {
    const TBitboard sideways = ((discs << 1) & kNotColumn0) | ((discs >> 1) & kNotColumn7);
    const TBitboard row = discs | sideways;
    return (sideways | (row << 8) | (row >> 8)) & empty;
}

// A plain alpha-beta `depth` moves deep over EndgameGuess.
int ShallowGuess(TBitboard own, TBitboard opp, int depth, int alpha, int beta) {
    if (depth == 0) {
        return EndgameGuess(own, opp);
    }
    TBitboard moves = Moves(own, opp);
    if (moves == 0) {
        return Moves(opp, own) == 0 ? 1000 * ExactFinalScore(own, opp)
                                    : -ShallowGuess(opp, own, depth, -beta, -alpha);
    }
    int best = -kGuessInfinity;
    for (; moves != 0; moves &= moves - 1) {
        const int square = FirstSquare(moves);
        const TBitboard flips = FlipsInline(square, own, opp);
        const int value = -ShallowGuess(opp & ~flips, own | flips | Bit(square), depth - 1, -beta,
                                        -Max(alpha, best));
        if (value > best) {
            best = value;
            if (best >= beta) {
                break;
            }
        }
    }
    return best;
}

// The moves of `moves` in scan order, each with the discs it turns.
void ListSolverMoves(TBitboard own, TBitboard opp, TBitboard moves,
                     TFastSearcher::TMoveList& list) {
    list.Count = 0;
    for (; moves != 0; moves &= moves - 1) {
        const int square = FirstSquare(moves);
        list.Moves[list.Count++] = {FlipsInline(square, own, opp), square, 0};
    }
}

// Swaps the highest-scored move from `first` on into `first`; the earliest in the list among
// equals.
void TakeBest(TFastSearcher::TMoveList& list, int first) {
    int best = first;
    for (int i = first + 1; i < list.Count; ++i) {
        if (list.Moves[i].Score > list.Moves[best].Score) {
            best = i;
        }
    }
    const TFastSearcher::TMove chosen = list.Moves[best];
    list.Moves[best] = list.Moves[first];
    list.Moves[first] = chosen;
}

} // namespace

bool TExactSearch::Stopped() {
    if (!m_stopped && m_stop != nullptr && m_stop->load(std::memory_order_relaxed)) {
        m_stopped = true;
    }
    return m_stopped;
}

void TExactSearch::Prefetch(TBitboard own, TBitboard opp) const {
    const TSolverEntry* bucket =
        m_table.Entries + (Hash(own, opp) & m_table.BucketMask) * kSolverWays;
    __builtin_prefetch(bucket);
    __builtin_prefetch(bucket + kSolverWays - 1);
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
        return Sorted(own, opp, alpha, beta, passed);
    }
    return LastSquares(own, opp, alpha, beta, passed);
}

int TExactSearch::MoveValue(TBitboard childOwn, TBitboard childOpp, bool first, int low, int beta) {
    return PvsValue([&](int lo, int hi) { return -Value(childOwn, childOpp, lo, hi, false); },
                    first, low, beta);
}

int TExactSearch::Sorted(TBitboard own, TBitboard opp, int alpha, int beta, bool passed) {
    return SortedMoves(own, opp, Moves(own, opp), alpha, beta, passed);
}

int TExactSearch::SortedMoves(TBitboard own, TBitboard opp, TBitboard moves, int alpha, int beta,
                              bool passed) {
    ++m_nodes;
    if (moves == 0) {
        return passed ? ExactFinalScore(own, opp) : -Sorted(opp, own, -beta, -alpha, true);
    }
    // Step 1. Each move's flips and score: the same as OrderMoves gives, but for the room next
    // to the mover's discs, which at these few empty squares changes no order worth a node.
    constexpr int kMost = kTableEmpties - 1;
    TBitboard flips[kMost];
    TBitboard replies[kMost];
    int squares[kMost];
    int scores[kMost];
    int count = 0;
    const TBitboard odd = SolverOddQuarters(~(own | opp));
    for (; moves != 0; moves &= moves - 1, ++count) {
        squares[count] = FirstSquare(moves);
        flips[count] = FlipsInline(squares[count], own, opp);
        replies[count] = Moves(opp & ~flips[count], own | flips[count] | Bit(squares[count]));
        const TBitboard square = Bit(squares[count]);
        scores[count] = -kReplyScore * (Count(replies[count]) + Count(replies[count] & kCorners)) +
                        ((square & kCorners) != 0 ? kCornerScore : 0) +
                        ((square & odd) != 0 ? kParityScore : 0);
    }
    // Step 2. The best of those left next, as in Search. A child above the last squares takes
    // the moves listed for its order as its own.
    const bool childSorted = 63 - Count(own | opp) > kLastEmpties;
    int best = -kBeyond;
    int low = alpha;
    for (int i = 0; i < count; ++i) {
        int top = i;
        for (int j = i + 1; j < count; ++j) {
            top = scores[j] > scores[top] ? j : top;
        }
        const TBitboard childOwn = opp & ~flips[top];
        const TBitboard childOpp = own | flips[top] | Bit(squares[top]);
        const TBitboard childMoves = replies[top];
        flips[top] = flips[i];
        squares[top] = squares[i];
        scores[top] = scores[i];
        replies[top] = replies[i];
        const auto child = [&](int lo, int hi) {
            return childSorted ? -SortedMoves(childOwn, childOpp, childMoves, lo, hi, false)
                               : -LastSquares(childOwn, childOpp, lo, hi, false);
        };
        const int value = PvsValue(child, i == 0, low, beta);
        if (value > best) {
            best = value;
            if (best > low) {
                low = best;
                if (low >= beta) {
                    break;
                }
            }
        }
    }
    return best;
}

void TExactSearch::OrderMoves(TBitboard own, TBitboard opp, TFastSearcher::TMoveList& list,
                              int hint, int alpha) {
    (void)alpha;
    const TBitboard odd = SolverOddQuarters(~(own | opp));
    const int empties = 64 - Count(own | opp);
    const int shallow = empties >= kDeepEmpties      ? 2
                        : empties >= kShallowEmpties ? 1
                        : empties >= kGuessEmpties   ? 0
                                                     : -1;
    for (int i = 0; i < list.Count; ++i) {
        TFastSearcher::TMove& move = list.Moves[i];
        if (move.Square == hint) {
            move.Score = kHintScore;
            continue;
        }
        const TBitboard childOwn = opp & ~move.Flips;
        const TBitboard childOpp = own | move.Flips | Bit(move.Square);
        const TBitboard replies = Moves(childOwn, childOpp);
        move.Score = -kReplyScore * (Count(replies) + Count(replies & kCorners)) -
                     kNearScore * Count(Neighbours(childOpp, ~(childOwn | childOpp)));
        if (shallow > 0) {
            move.Score -= kShallowWeight * ShallowGuess(childOwn, childOpp, shallow,
                                                        -kGuessInfinity, kGuessInfinity);
        } else if (shallow == 0) {
            move.Score -= kGuessWeight * EndgameGuess(childOwn, childOpp, replies);
        }
        if ((Bit(move.Square) & kCorners) != 0) {
            move.Score += kCornerScore;
        }
        if ((Bit(move.Square) & odd) != 0) {
            move.Score += kParityScore;
        }
    }
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
    if (64 - Count(own | opp) >= kStableEmpties && 64 - 2 * Count(opp) <= alpha) {
        const int upper = 64 - 2 * Count(StableDiscs(opp, own | opp));
        if (upper <= alpha) {
            return upper;
        }
    }
    // Step 3. What the table knows of this position.
    int hint = kSolverNoMove;
    const bool tabled = 64 - Count(own | opp) >= kTableEmpties;
    if (const TSolverEntry* entry = tabled ? Find(own, opp) : nullptr) {
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
    ListSolverMoves(own, opp, moves, list);
    // The children's table entries are fetched now, to be in the cache when the children, and
    // the lookups below, read them; the sorting meanwhile hides the wait.
    if (64 - Count(own | opp) > kTableEmpties) {
        for (int i = 0; i < list.Count; ++i) {
            const TFastSearcher::TMove& move = list.Moves[i];
            Prefetch(opp & ~move.Flips, own | move.Flips | Bit(move.Square));
        }
    }
    if (list.Count > 1) {
        OrderMoves(own, opp, list, hint, alpha);
    }
    if (64 - Count(own | opp) >= kChildProbeEmpties) {
        for (int i = 0; i < list.Count; ++i) {
            const TFastSearcher::TMove& move = list.Moves[i];
            const TSolverEntry* child =
                Find(opp & ~move.Flips, own | move.Flips | Bit(move.Square));
            if (child != nullptr && -child->Upper >= beta) {
                return -child->Upper;
            }
        }
    }
    int best = -kBeyond;
    int bestSquare = list.Moves[0].Square;
    int low = alpha;
    for (int i = 0; i < list.Count; ++i) {
        // The best of those left goes next: most nodes end on their first move or two, so the
        // rest are never sorted.
        TakeBest(list, i);
        const TFastSearcher::TMove& move = list.Moves[i];
        const int value =
            MoveValue(opp & ~move.Flips, own | move.Flips | Bit(move.Square), i == 0, low, beta);
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
    if (tabled) {
        Store(own, opp, alpha, beta, best, bestSquare);
    }
    return best;
}

int TExactSearch::Exact(TBitboard own, TBitboard opp, bool passed, int* square) {
    // Every score is even (64 less twice the loser's discs, or 0), so a window two wide around a
    // guess either proves it or gives a bound. The first guess is an even game, and each probe's
    // bound is the next guess: the guesses walk from 0 to the score, up or down, and the table
    // keeps each probe's work for the next. Climbing from -64 instead took 36% more nodes on 80
    // positions of level-9 self-play at 20 to 22 empty squares (ten times as many on one of them,
    // where each probe far below the score was dear), though 3% fewer on FFO 40-44.
    int lower = -64;
    int upper = 64;
    int guess = 0;
    while (lower < upper && !m_stopped) {
        // Walking down, the position is known to reach no more than the guess, so a probe only
        // asks whether some move reaches it. At the root that is asked of the moves in scan
        // order, and the first that does is the answer, with no probe after it to find it.
        const int value = square != nullptr && guess == upper
                              ? FirstReaching(own, opp, guess, square)
                              : Value(own, opp, guess - 1, guess + 1, passed);
        if (value >= guess + 1) {
            lower = value;
        } else if (value <= guess - 1) {
            upper = value;
        } else {
            lower = upper = value;
        }
        guess = value < lower ? lower : value > upper ? upper : value;
    }
    return lower;
}

int TExactSearch::FirstReaching(TBitboard own, TBitboard opp, int score, int* square) {
    int best = -kBeyond;
    for (TBitboard moves = Moves(own, opp); moves != 0 && !m_stopped; moves &= moves - 1) {
        const int candidate = FirstSquare(moves);
        const TBitboard flips = Flips(candidate, own, opp);
        const int value =
            -Value(opp & ~flips, own | flips | Bit(candidate), -score, -score + 1, false);
        if (value >= score) {
            *square = candidate;
            return score;
        }
        best = Max(best, value);
    }
    return best;
}

int TExactSearch::Root(TBitboard own, TBitboard opp, int* square) {
    *square = kSolveNoMove;
    const int score = Exact(own, opp, false, square);
    if (*square == kSolveNoMove) {
        // The walk climbed to the score, or began on it: the first move that reaches it is
        // still to be found, and the probes have bounded most of the others already.
        FirstReaching(own, opp, score, square);
    }
    return score;
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
        result.Score = -Exact(opp, own, true);
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
    result.Score = -Exact(opp & ~flips, own | flips | Bit(square), false);
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
