#pragma once

// The hot kernels of the fast engine. This header and the sources that include it are compiled
// once for each instruction set of FastIsa.h, every time into its own namespace, named by
// OCTAVANE_FAST_ISA. Nothing compiled for a newer processor may then stand in for the plain
// code at link time, so these sources use compiler builtins and their own helpers rather than
// inline functions or templates shared with the rest of the program.

#include "engine/BoardMasks.h"
#include "engine/FastBoard.h"
#include "engine/Weights.h"

#include <cstdint>

// With AVX-512 and its popcount, the moves of a position are worked eight at a time, one 64-bit
// lane each.
#if defined(__AVX512F__) && defined(__AVX512VPOPCNTDQ__)
#include <immintrin.h>
#define OCTAVANE_FAST_MOVE_LANES 1
#endif

#ifndef OCTAVANE_FAST_ISA
#error "OCTAVANE_FAST_ISA names the namespace of one instruction set build"
#endif

namespace OCTAVANE_FAST_ISA {

[[gnu::always_inline]] inline TBitboard Bit(int square) {
    return TBitboard{1} << square;
}

// The lowest set square; `bits` must not be empty.
[[gnu::always_inline]] inline int FirstSquare(TBitboard bits) {
    return __builtin_ctzll(bits);
}

[[gnu::always_inline]] inline int Count(TBitboard bits) {
#if defined(__POPCNT__)
    return __builtin_popcountll(bits);
#else
    // Spelt out because the builtin becomes a library call without the instruction; the byte
    // sums are added by shifts because the compiler turns a multiply back into that same call.
    bits -= (bits >> 1) & 0x5555555555555555ULL;
    bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    bits += bits >> 8;
    bits += bits >> 16;
    bits += bits >> 32;
    return static_cast<int>(bits & 0x7F);
#endif
}

[[gnu::always_inline]] inline bool IsOver(TBitboard own, TBitboard opp, int passes) {
    return passes >= 2 || own == 0 || opp == 0 || (own | opp) == ~TBitboard{0};
}

[[gnu::always_inline]] inline int Max(int a, int b) {
    return a > b ? a : b;
}

[[gnu::always_inline]] inline int Min(int a, int b) {
    return a < b ? a : b;
}

TBitboard Moves(TBitboard own, TBitboard opp);
TBitboard Flips(int square, TBitboard own, TBitboard opp);
std::uint64_t Perft(TBitboard own, TBitboard opp, int depth, int passes);
int Evaluate(TBitboard own, TBitboard opp);

// What the evaluation of the positions one move on needs of this one: the discs, the squares
// with five to eight occupied neighbours, and the corner runs.
struct TEvalBase {
    TBitboard Own, Opp;
    TBitboard Five, Six, Seven, Eight;
    TBitboard Runs;
};
TEvalBase EvalBase(TBitboard own, TBitboard opp);

// Evaluate of the position after the side owning `own` plays `square`, turning `flips`, seen
// from that side: the same number as Evaluate(own | flips | square, opp & ~flips), for about
// half its cost.
int EvaluateAfter(const TEvalBase& base, int square, TBitboard flips);

#if defined(OCTAVANE_FAST_MOVE_LANES)

template <int Step, bool Up> [[gnu::always_inline]] inline __m512i StepLanes(__m512i bits) {
    return Up ? _mm512_slli_epi64(bits, Step) : _mm512_srli_epi64(bits, Step);
}
template <int Step, bool Up> [[gnu::always_inline]] inline TBitboard StepBits(TBitboard bits) {
    return Up ? bits << Step : bits >> Step;
}

// The discs turned along one line direction by a move to each lane's square. The opponent's run
// next to the square is filled by doubling (one, two, then four steps at a time), through the
// opponent's discs that `Keep` leaves, which drops what would wrap round an edge; it turns over
// when the square one step past it holds a disc of the mover.
template <int Step, bool Up, TBitboard Keep>
[[gnu::always_inline]] inline __m512i FlipsAlong(__m512i square, TBitboard own, TBitboard opp,
                                                 __m512i flips) {
    const TBitboard one = opp & Keep;
    const TBitboard two = one & StepBits<Step, Up>(one);
    const TBitboard four = two & StepBits<2 * Step, Up>(two);
    auto spread = [](TBitboard bits) { return _mm512_set1_epi64(static_cast<long long>(bits)); };
    __m512i run = square;
    run = _mm512_or_si512(run, _mm512_and_si512(spread(one), StepLanes<Step, Up>(run)));
    run = _mm512_or_si512(run, _mm512_and_si512(spread(two), StepLanes<2 * Step, Up>(run)));
    run = _mm512_or_si512(run, _mm512_and_si512(spread(four), StepLanes<4 * Step, Up>(run)));
    const __mmask8 closed = _mm512_test_epi64_mask(StepLanes<Step, Up>(run), spread(own & Keep));
    return _mm512_mask_or_epi64(flips, closed, flips, run);
}

// The discs that a move to each lane's square (one bit per lane, each a legal move) turns over.
[[gnu::always_inline]] inline __m512i FlipsOfLanes(TBitboard own, TBitboard opp, __m512i square) {
    constexpr TBitboard kAll = ~TBitboard{0};
    __m512i flips = _mm512_setzero_si512();
    flips = FlipsAlong<1, true, kNotColumn0>(square, own, opp, flips);
    flips = FlipsAlong<1, false, kNotColumn7>(square, own, opp, flips);
    flips = FlipsAlong<8, true, kAll>(square, own, opp, flips);
    flips = FlipsAlong<8, false, kAll>(square, own, opp, flips);
    flips = FlipsAlong<9, true, kNotColumn0>(square, own, opp, flips);
    flips = FlipsAlong<9, false, kNotColumn7>(square, own, opp, flips);
    flips = FlipsAlong<7, true, kNotColumn7>(square, own, opp, flips);
    flips = FlipsAlong<7, false, kNotColumn0>(square, own, opp, flips);
    return _mm512_andnot_si512(square, flips);
}

// Takes up to eight squares off `moves`, lowest first, into `squares`, and returns how many; the
// lanes left over repeat the first square, so that every lane holds a legal move.
[[gnu::always_inline]] inline int TakeLanes(TBitboard& moves, long long* squares) {
    int lanes = 0;
    for (; moves != 0 && lanes < 8; moves &= moves - 1) {
        squares[lanes++] = FirstSquare(moves);
    }
    for (int lane = lanes; lane < 8; ++lane) {
        squares[lane] = squares[0];
    }
    return lanes;
}

// One bit per lane from square numbers.
[[gnu::always_inline]] inline __m512i LaneBits(const long long* squares) {
    return _mm512_sllv_epi64(_mm512_set1_epi64(1), _mm512_loadu_si512(squares));
}

// The scores after eight moves at once of the side owning base.Own, one lane per move, each a
// legal move: the final score when the move ends the game, else EvaluateAfter.
__m512i ScoresAfterLanes(const TEvalBase& base, __m512i square);

#endif

// Weight of every square, as bit planes: a disc on square s counts sum 2^k over the planes k
// that hold s. Plane kRunPlane holds the corner runs; plane kEmptyPlane is always empty.
struct TWeightPlanes {
    TBitboard Plane[kWeightPlanes];
};
TWeightPlanes WeightPlanes(TBitboard own, TBitboard opp);

// The weight `planes` give the discs of `bits` together.
[[gnu::always_inline]] inline int WeightOf(const TWeightPlanes& planes, TBitboard bits) {
    int weight = 0;
    for (int plane = 0; plane < kWeightPlanes; ++plane) {
        if (plane != kEmptyPlane) {
            weight += Count(bits & planes.Plane[plane]) << plane;
        }
    }
    return weight;
}

[[gnu::always_inline]] inline int FinalScore(TBitboard own, TBitboard opp) {
    return kFinishedDiscValue * (Count(own) - Count(opp));
}

// The score of the position after the side owning base.Own plays the legal move `square`, seen
// from that side, as the node one move above the leaves scores its children: the final score
// when the move ends the game, else EvaluateAfter.
[[gnu::always_inline]] inline int ScoreAfter(const TEvalBase& base, int square) {
    const TBitboard flips = Flips(square, base.Own, base.Opp);
    const TBitboard own = base.Own | flips | Bit(square);
    const TBitboard opp = base.Opp & ~flips;
    return IsOver(own, opp, 0) ? FinalScore(own, opp) : EvaluateAfter(base, square, flips);
}

[[gnu::always_inline]] inline int LeafScore(TBitboard own, TBitboard opp, int passes) {
    return IsOver(own, opp, passes) ? FinalScore(own, opp) : Evaluate(own, opp);
}

} // namespace OCTAVANE_FAST_ISA
