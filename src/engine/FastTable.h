#pragma once

#include "engine/FastKernels.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace OCTAVANE_FAST_ISA {

// Transposition table of the fast search. An entry is keyed by the whole position (both masks,
// side to move first), so a hit is never a collision, and by the depth it was searched to: a
// value found at one depth says nothing about another, so bounds are reused only at the same
// depth. The best move is kept as a hint at any depth. The storage is allocated once, when the
// table is made; probing and storing never allocate. A failed allocation ends the program as
// any failed allocation does.
class TFastTable {
  public:
    // Depth recorded for a finished-game solve, whose values are in discs, not in hundredths.
    static constexpr int kSolvedDepth = 64;
    static constexpr int kNoMove = 255;

    struct TEntry {
        TBitboard Own = 0;
        TBitboard Opp = 0;
        std::int16_t Lower = 0; // the value is at least this...
        std::int16_t Upper = 0; // ...and at most this
        std::uint8_t Depth = 0;
        std::uint8_t Move = kNoMove;
        std::uint8_t Age = 0;
    };

    explicit TFastTable(int log2Buckets);

    // The entry of this position, or null when the table holds none.
    const TEntry* Find(TBitboard own, TBitboard opp) const;

    // Records the result of a search of the position at `depth` with the window (alpha, beta):
    // `value` at or below alpha is an upper bound, at or above beta a lower bound, else exact.
    void Store(TBitboard own, TBitboard opp, int depth, int alpha, int beta, int value, int move);

    // Starts a new root search: entries of earlier searches stay usable but give way first.
    void NewSearch() { ++m_age; }

    void Clear();

    // A mix of both masks with every bit spread over the low ones, for indexing tables.
    static TBitboard Hash(TBitboard own, TBitboard opp) {
        TBitboard key =
            own * 0x9E3779B97F4A7C15ULL ^ (opp + 0x632BE59BD9B4E019ULL) * 0xBF58476D1CE4E5B9ULL;
        return key ^ (key >> 29);
    }

  private:
    static constexpr int kWays = 2;
    std::size_t Index(TBitboard own, TBitboard opp) const;

    // All-zero memory is an empty table (no entry has both masks empty), so the storage comes
    // zeroed from the system and its pages are touched only as the table fills: making it
    // costs the first search nothing.
    struct TFree {
        void operator()(TEntry* entries) const { std::free(entries); }
    };
    std::unique_ptr<TEntry[], TFree> m_entries;
    std::size_t m_size;
    std::size_t m_mask;
    std::uint8_t m_age = 0;
};

} // namespace OCTAVANE_FAST_ISA
