#include "engine/FastFlips.h"

#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace OCTAVANE_FAST_ISA {
#if defined(__AVX2__)

// With AVX2 the four lines through a square are worked side by side, one 64-bit lane each,
// stepping towards higher bits and lower bits at once: a run of up to six discs is covered by
// two single steps and two double steps.

namespace {

struct TLines {
    __m256i Shift;  // the step along each line: 1 (row), 8 (column), 9 and 7 (diagonals)
    __m256i Shift2; // two steps
    __m256i Theirs; // the opponent's discs that can lie inside a run on each line
    __m256i PairUp; // such discs whose neighbour one step down the line is one as well
    __m256i PairDown;
};

[[gnu::always_inline]] inline TLines Lines(TBitboard opp) {
    constexpr long long inner = static_cast<long long>(kNotColumn0 & kNotColumn7);
    const __m256i shift = _mm256_set_epi64x(7, 9, 8, 1);
    // A run along a row or a diagonal never contains a disc of the edge columns; on a column
    // the shift itself drops what leaves the board.
    const __m256i theirs = _mm256_and_si256(_mm256_set1_epi64x(static_cast<long long>(opp)),
                                            _mm256_set_epi64x(inner, inner, -1LL, inner));
    const __m256i pairUp = _mm256_and_si256(theirs, _mm256_sllv_epi64(theirs, shift));
    return {shift, _mm256_add_epi64(shift, shift), theirs, pairUp,
            _mm256_srlv_epi64(pairUp, shift)};
}

struct TRuns {
    __m256i Up;
    __m256i Down;
};

// The runs of the opponent's discs that start next to a disc of `from` on each line.
[[gnu::always_inline]] inline TRuns RunsFrom(const TLines& lines, __m256i from) {
    __m256i up = _mm256_and_si256(lines.Theirs, _mm256_sllv_epi64(from, lines.Shift));
    __m256i down = _mm256_and_si256(lines.Theirs, _mm256_srlv_epi64(from, lines.Shift));
    up = _mm256_or_si256(up, _mm256_and_si256(lines.Theirs, _mm256_sllv_epi64(up, lines.Shift)));
    down =
        _mm256_or_si256(down, _mm256_and_si256(lines.Theirs, _mm256_srlv_epi64(down, lines.Shift)));
    for (int i = 0; i < 2; ++i) {
        up = _mm256_or_si256(up,
                             _mm256_and_si256(lines.PairUp, _mm256_sllv_epi64(up, lines.Shift2)));
        down = _mm256_or_si256(
            down, _mm256_and_si256(lines.PairDown, _mm256_srlv_epi64(down, lines.Shift2)));
    }
    return {up, down};
}

[[gnu::always_inline]] inline TBitboard Join(__m256i lanes) {
    const __m128i half =
        _mm_or_si128(_mm256_castsi256_si128(lanes), _mm256_extracti128_si256(lanes, 1));
    return static_cast<TBitboard>(_mm_cvtsi128_si64(half)) |
           static_cast<TBitboard>(_mm_extract_epi64(half, 1));
}

} // namespace

TBitboard Moves(TBitboard own, TBitboard opp) {
    const TLines lines = Lines(opp);
    const TRuns runs = RunsFrom(lines, _mm256_set1_epi64x(static_cast<long long>(own)));
    const __m256i ends = _mm256_or_si256(_mm256_sllv_epi64(runs.Up, lines.Shift),
                                         _mm256_srlv_epi64(runs.Down, lines.Shift));
    return Join(ends) & ~(own | opp);
}

TBitboard Flips(int square, TBitboard own, TBitboard opp) {
    if (((own | opp) & Bit(square)) != 0) {
        return 0;
    }
#if defined(OCTAVANE_FAST_LZCNT_FLIPS)
    return FlipsInline(square, own, opp);
#else
    const TLines lines = Lines(opp);
    const TRuns runs = RunsFrom(lines, _mm256_set1_epi64x(static_cast<long long>(Bit(square))));
    // A run turns over when the square one step past its end holds a disc of the mover.
    const __m256i mine = _mm256_set1_epi64x(static_cast<long long>(own));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i openUp =
        _mm256_cmpeq_epi64(_mm256_and_si256(_mm256_sllv_epi64(runs.Up, lines.Shift), mine), zero);
    const __m256i openDown =
        _mm256_cmpeq_epi64(_mm256_and_si256(_mm256_srlv_epi64(runs.Down, lines.Shift), mine), zero);
    return Join(_mm256_or_si256(_mm256_andnot_si256(openUp, runs.Up),
                                _mm256_andnot_si256(openDown, runs.Down)));
#endif
}

#else

namespace {

// The eight rays leaving each square, nearest square first in bit order for the four rays that
// climb (bit index grows) and last for the four that descend.
struct TRays {
    TBitboard Ray[kFastSquareCount][8]{};
};

constexpr int kRayDx[8] = {1, 0, 1, -1, -1, 0, -1, 1};
constexpr int kRayDy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kClimbingRays = 4;

constexpr TRays MakeRays() {
    TRays rays;
    for (int square = 0; square < kFastSquareCount; ++square) {
        for (int dir = 0; dir < 8; ++dir) {
            int x = square % 8 + kRayDx[dir];
            int y = square / 8 + kRayDy[dir];
            while (x >= 0 && x < 8 && y >= 0 && y < 8) {
                rays.Ray[square][dir] |= TBitboard{1} << FastSquare(x, y);
                x += kRayDx[dir];
                y += kRayDy[dir];
            }
        }
    }
    return rays;
}

constexpr TRays kRays = MakeRays();

// One direction of the move generator: the empty squares reached by a run of `mask` discs that
// starts next to a disc of `own`, stepping by `shift` bits (positive: up, negative: down).
template <int Shift> TBitboard MovesAlong(TBitboard own, TBitboard mask) {
    auto step = [](TBitboard bits) { return Shift > 0 ? bits << Shift : bits >> -Shift; };
    TBitboard run = mask & step(own);
    run |= mask & step(run);
    run |= mask & step(run);
    run |= mask & step(run);
    run |= mask & step(run);
    run |= mask & step(run);
    return step(run);
}

} // namespace

TBitboard Moves(TBitboard own, TBitboard opp) {
    const TBitboard inner = opp & kNotColumn0 & kNotColumn7;
    TBitboard moves = MovesAlong<1>(own, inner) | MovesAlong<-1>(own, inner);
    moves |= MovesAlong<8>(own, opp) | MovesAlong<-8>(own, opp);
    moves |= MovesAlong<7>(own, inner) | MovesAlong<-7>(own, inner);
    moves |= MovesAlong<9>(own, inner) | MovesAlong<-9>(own, inner);
    return moves & ~(own | opp);
}

TBitboard Flips(int square, TBitboard own, TBitboard opp) {
    if (((own | opp) & Bit(square)) != 0) {
        return 0;
    }
    const auto& rays = kRays.Ray[square];
    TBitboard flips = 0;
    // Along a climbing ray the first square that is not the opponent's is the lowest set bit
    // of the stops; along a descending ray it is the highest. The run before it turns over
    // when that square is the mover's. (With no stop at all, bit 0 stands in: it is either off
    // the ray or the opponent's, so nothing turns.)
    for (int dir = 0; dir < kClimbingRays; ++dir) {
        const TBitboard stops = rays[dir] & ~opp;
        const TBitboard first = stops & (0 - stops);
        const TBitboard closed = 0 - static_cast<TBitboard>((first & own) != 0);
        flips |= rays[dir] & (first - 1) & closed;
    }
    for (int dir = kClimbingRays; dir < 8; ++dir) {
        const TBitboard stops = rays[dir] & ~opp;
        const TBitboard first = TBitboard{1} << (63 - __builtin_clzll(stops | 1));
        const TBitboard closed = 0 - static_cast<TBitboard>((first & own & rays[dir]) != 0);
        flips |= rays[dir] & ~((first << 1) - 1) & closed;
    }
    return flips;
}

#endif

std::uint64_t Perft(TBitboard own, TBitboard opp, int depth, int passes) {
    if (depth <= 0 || IsOver(own, opp, passes)) {
        return 1;
    }
    TBitboard moves = Moves(own, opp);
    if (moves == 0) {
        return Perft(opp, own, depth, passes + 1);
    }
    if (depth == 1) {
        return static_cast<std::uint64_t>(Count(moves));
    }
    std::uint64_t leaves = 0;
    while (moves != 0) {
        const int square = FirstSquare(moves);
        moves &= moves - 1;
        const TBitboard flips = Flips(square, own, opp);
        leaves += Perft(opp & ~flips, own | flips | Bit(square), depth - 1, 0);
    }
    return leaves;
}

} // namespace OCTAVANE_FAST_ISA
