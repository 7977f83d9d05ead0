#pragma once

// The hot kernels of the fast engine. This header and the sources that include it are compiled
// once for each instruction set of FastIsa.h, every time into its own namespace, named by
// OCTAVANE_FAST_ISA. Nothing compiled for a newer processor may then stand in for the plain
// code at link time, so these sources use compiler builtins and their own helpers rather than
// inline functions or templates shared with the rest of the program.

#include "engine/FastBoard.h"

#include <cstdint>

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

// Weight of every square, as bit planes: a disc on square s counts sum 2^k over the planes k
// that hold s. Plane 7 holds the corner runs; plane 6 is always empty.
struct TWeightPlanes {
    TBitboard Plane[8];
};
TWeightPlanes WeightPlanes(TBitboard own, TBitboard opp);

// The weight `planes` give the discs of `bits` together.
[[gnu::always_inline]] inline int WeightOf(const TWeightPlanes& planes, TBitboard bits) {
    return Count(bits & planes.Plane[0]) + 2 * Count(bits & planes.Plane[1]) +
           4 * Count(bits & planes.Plane[2]) + 8 * Count(bits & planes.Plane[3]) +
           16 * Count(bits & planes.Plane[4]) + 32 * Count(bits & planes.Plane[5]) +
           128 * Count(bits & planes.Plane[7]);
}

[[gnu::always_inline]] inline int FinalScore(TBitboard own, TBitboard opp) {
    return 100 * (Count(own) - Count(opp));
}

[[gnu::always_inline]] inline int LeafScore(TBitboard own, TBitboard opp, int passes) {
    return IsOver(own, opp, passes) ? FinalScore(own, opp) : Evaluate(own, opp);
}

} // namespace OCTAVANE_FAST_ISA
