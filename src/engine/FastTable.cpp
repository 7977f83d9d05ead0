#include "engine/FastTable.h"

#include <cassert>

#include "engine/FastIsaEntry.h"

namespace OCTAVANE_FAST_ISA {
namespace {

constexpr int kBoundLimit = 32767;

std::int16_t Clamp16(int value) {
    return static_cast<std::int16_t>(value < -kBoundLimit  ? -kBoundLimit
                                     : value > kBoundLimit ? kBoundLimit
                                                           : value);
}

} // namespace

TFastTable::TFastTable(int log2Buckets)
    : m_entries(
          static_cast<TEntry*>(std::calloc(std::size_t{kWays} << log2Buckets, sizeof(TEntry)))),
      m_size(std::size_t{kWays} << log2Buckets), m_mask((std::size_t{1} << log2Buckets) - 1) {
    if (m_entries == nullptr) {
        throw std::bad_alloc();
    }
}

std::size_t TFastTable::Index(TBitboard own, TBitboard opp) const {
    const std::size_t first = static_cast<std::size_t>(Hash(own, opp) & m_mask) * kWays;
    assert(first + kWays <= m_size);
    return first;
}

const TFastTable::TEntry* TFastTable::Find(TBitboard own, TBitboard opp) const {
    const std::size_t first = Index(own, opp);
    for (int way = 0; way < kWays; ++way) {
        const TEntry& entry = m_entries[first + way];
        if (entry.Own == own && entry.Opp == opp && (own | opp) != 0) {
            return &entry;
        }
    }
    return nullptr;
}

void TFastTable::Store(TBitboard own, TBitboard opp, int depth, int alpha, int beta, int value,
                       int move) {
    const std::size_t first = Index(own, opp);
    // The first way keeps the deepest search seen; the second takes whatever comes.
    TEntry* slot = &m_entries[first + 1];
    TEntry& deep = m_entries[first];
    if ((deep.Own == own && deep.Opp == opp) || depth >= deep.Depth || deep.Age != m_age) {
        slot = &deep;
    } else if (m_entries[first + 1].Own == own && m_entries[first + 1].Opp == opp) {
        slot = &m_entries[first + 1];
    }
    TEntry& entry = *slot;
    const bool sameSearch = entry.Own == own && entry.Opp == opp && entry.Depth == depth;
    if (!sameSearch) {
        entry.Own = own;
        entry.Opp = opp;
        entry.Depth = static_cast<std::uint8_t>(depth);
        entry.Lower = -kBoundLimit;
        entry.Upper = kBoundLimit;
    }
    if (value > alpha) {
        entry.Lower = static_cast<std::int16_t>(Max(entry.Lower, Clamp16(value)));
    }
    if (value < beta) {
        entry.Upper = static_cast<std::int16_t>(-Max(-entry.Upper, -Clamp16(value)));
    }
    entry.Move = static_cast<std::uint8_t>(move);
    entry.Age = m_age;
}

void TFastTable::Clear() {
    for (std::size_t i = 0; i < m_size; ++i) {
        m_entries[i] = TEntry{};
    }
}

} // namespace OCTAVANE_FAST_ISA
