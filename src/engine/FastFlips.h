#pragma once

// The discs a move turns, as an inline function for the solver's innermost loops, where a call
// costs as much as the work. Compiled into each instruction set's namespace like FastKernels.h.

#include "engine/FastKernels.h"

#include <initializer_list>

#if defined(__AVX512CD__) && defined(__AVX512VL__)
#include <immintrin.h>
#define OCTAVANE_FAST_LZCNT_FLIPS 1
#endif

namespace OCTAVANE_FAST_ISA {

#if defined(OCTAVANE_FAST_LZCNT_FLIPS)

// The four lines through each square, split at it: the squares towards higher bits (right, up,
// up-right, up-left) and those towards lower bits, one 64-bit lane per line.
struct alignas(32) TSplitLines {
    TBitboard Up[4];
    TBitboard Down[4];
};

struct TSplitLineTable {
    TSplitLines Square[kFastSquareCount]{};
};

constexpr TSplitLineTable MakeSplitLines() {
    constexpr int kDx[4] = {1, 0, 1, -1};
    constexpr int kDy[4] = {0, 1, 1, 1};
    TSplitLineTable table;
    for (int square = 0; square < kFastSquareCount; ++square) {
        for (int line = 0; line < 4; ++line) {
            for (const int sign : {1, -1}) {
                TBitboard& ray =
                    sign > 0 ? table.Square[square].Up[line] : table.Square[square].Down[line];
                int x = square % 8 + sign * kDx[line];
                int y = square / 8 + sign * kDy[line];
                for (; x >= 0 && x < 8 && y >= 0 && y < 8; x += sign * kDx[line]) {
                    ray |= TBitboard{1} << FastSquare(x, y);
                    y += sign * kDy[line];
                }
            }
        }
    }
    return table;
}

inline constexpr TSplitLineTable kSplitLines = MakeSplitLines();

// Along each line the nearest square that is not the opponent's closes the run of the
// opponent's discs when it holds the mover's: towards higher bits that square is the lowest set
// bit, towards lower bits the highest, found by counting leading zeros. `square` must be empty.
[[gnu::always_inline]] inline TBitboard FlipsInline(int square, TBitboard own, TBitboard opp) {
    const __m256i mine = _mm256_set1_epi64x(static_cast<long long>(own));
    const __m256i theirs = _mm256_set1_epi64x(static_cast<long long>(opp));
    const __m256i zero = _mm256_setzero_si256();
    const TSplitLines& lines = kSplitLines.Square[square];
    const __m256i up = _mm256_load_si256(reinterpret_cast<const __m256i*>(lines.Up));
    const __m256i down = _mm256_load_si256(reinterpret_cast<const __m256i*>(lines.Down));
    // Up: every square of the line below the closing disc.
    __m256i open = _mm256_andnot_si256(theirs, up);
    __m256i closing = _mm256_and_si256(_mm256_and_si256(open, _mm256_sub_epi64(zero, open)), mine);
    __m256i flips = _mm256_maskz_and_epi64(_mm256_test_epi64_mask(closing, closing),
                                           _mm256_sub_epi64(closing, _mm256_set1_epi64x(1)), up);
    // Down: every square of the line above the closing disc; a lane with none shifts the top
    // bit out whole and closes nothing.
    open = _mm256_andnot_si256(theirs, down);
    constexpr TBitboard kTopBit = TBitboard{1} << 63;
    const __m256i top = _mm256_set1_epi64x(static_cast<long long>(kTopBit));
    closing = _mm256_and_si256(_mm256_srlv_epi64(top, _mm256_lzcnt_epi64(open)), mine);
    flips = _mm256_or_si256(
        flips, _mm256_and_si256(down, _mm256_sub_epi64(zero, _mm256_add_epi64(closing, closing))));
    const __m128i half =
        _mm_or_si128(_mm256_castsi256_si128(flips), _mm256_extracti128_si256(flips, 1));
    return static_cast<TBitboard>(
        _mm_cvtsi128_si64(_mm_or_si128(half, _mm_unpackhi_epi64(half, half))));
}

#else

[[gnu::always_inline]] inline TBitboard FlipsInline(int square, TBitboard own, TBitboard opp) {
    return Flips(square, own, opp);
}

#endif

} // namespace OCTAVANE_FAST_ISA
