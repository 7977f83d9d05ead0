#pragma once

#include "engine/FastIsaEntry.h"
#include "engine/FastTable.h"

namespace OCTAVANE_FAST_ISA {

constexpr int kInfinity = 30000;   // beyond every score, in hundredths
constexpr int kDiscInfinity = 100; // beyond every disc difference

// The searcher behind FastSearch. Values inside it are negamax values, seen from the side to
// move; the finished-game solver works in discs rather than hundredths so that its windows are
// as narrow as the scores allow.
class TFastSearcher {
  public:
    TFastSearcher();

    TFastIsaAnswer Search(const TFastPosition& position, int depth);
    std::uint64_t Nodes() const { return m_nodes; }
    void Forget();

    // A legal move with the discs it turns and its place in the search order.
    struct TMove {
        TBitboard Flips;
        int Square;
        int Score;
    };
    struct TMoveList {
        static constexpr int kCapacity = 64;
        TMove Moves[kCapacity];
        int Count = 0;
    };

  private:
    // Midgame: the exact value of the node `depth` real moves deep, fail-soft.
    int Midgame(TBitboard own, TBitboard opp, int depth, int alpha, int beta, int passes);
    int LastPly(TBitboard own, TBitboard opp, TBitboard moves, int beta);
    int CachedLastPly(TBitboard own, TBitboard opp, TBitboard moves, int alpha, int beta);
    void OrderMidgame(TBitboard own, TBitboard opp, TMoveList& list) const;

    // Finished-game solver: the final disc difference under best play, fail-soft, in discs.
    int Endgame(TBitboard own, TBitboard opp, int alpha, int beta, int passes);
    int EndgameSmall(TBitboard own, TBitboard opp, TBitboard moves, int alpha, int beta);
    void OrderEndgame(TBitboard own, TBitboard opp, TMoveList& list, int hint) const;

    // The value of a root child for the side to move at the root, in hundredths, whichever
    // search applies.
    int RootChild(TBitboard own, TBitboard opp, int depth, int passes, int alpha, int beta);
    void OrderRoot(TBitboard own, TBitboard opp, TMoveList& list, int depth);
    void RankRootMoves(TBitboard own, TBitboard opp, TMoveList& list, int depth);

    TFastTable m_table;
    std::uint64_t m_nodes = 0;
    bool m_solving = false;
    // The last two moves that refuted a node two moves above the leaves, most recent first:
    // tried there before the other moves are scored.
    int m_killers[2] = {TFastTable::kNoMove, TFastTable::kNoMove};

    // Nodes one move above the leaves seen lately, by their whole position. Every child of such
    // a node is scored, so when none reached beta its value is known exactly; otherwise a lower
    // bound is. Small enough to stay in the processor's cache.
    struct TLastPlyEntry {
        TBitboard Own = 0;
        TBitboard Opp = 0;
        int Lower = 0;
        int Upper = 0;
    };
    static constexpr int kLastPlyCacheSize = 1 << 12;
    TLastPlyEntry m_lastPlyCache[kLastPlyCacheSize];
};

// Every legal move of the side to move, in scan order, with its flips.
void ListMoves(TBitboard own, TBitboard opp, TBitboard moves, TFastSearcher::TMoveList& list);

// Sorts by descending score; equal scores keep scan order.
void SortMoves(TFastSearcher::TMoveList& list);

} // namespace OCTAVANE_FAST_ISA
