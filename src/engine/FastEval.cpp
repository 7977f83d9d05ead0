#include "engine/FastEval.h"

#include <array>

namespace {

// The square weights, which are powers of two, as one mask per bit of the weight.
constexpr int squareWeights[8][8] = {
    {16, 1, 8, 4, 4, 8, 1, 16}, {1, 1, 1, 2, 2, 1, 1, 1},   {8, 1, 8, 4, 4, 8, 1, 8},
    {4, 2, 4, 8, 8, 4, 2, 4},   {4, 2, 4, 8, 8, 4, 2, 4},   {8, 1, 8, 4, 4, 8, 1, 8},
    {1, 1, 1, 2, 2, 1, 1, 1},   {16, 1, 8, 4, 4, 8, 1, 16},
};

constexpr int weightBits = 8; // up to 128

constexpr std::array<TBitboard, weightBits> MakeWeightPlanes() {
    std::array<TBitboard, weightBits> planes{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            for (int bit = 0; bit < weightBits; ++bit) {
                if ((squareWeights[y][x] >> bit) & 1) {
                    planes[bit] |= FastBit(FastSquare(x, y));
                }
            }
        }
    }
    return planes;
}

constexpr std::array<TBitboard, weightBits> g_tablePlanes = MakeWeightPlanes();

constexpr TBitboard column0 = 0x0101010101010101ULL;
constexpr TBitboard column7 = 0x8080808080808080ULL;
constexpr TBitboard row0 = 0x00000000000000FFULL;
constexpr TBitboard row7 = 0xFF00000000000000ULL;
constexpr TBitboard corners = 0x8100000000000081ULL;

// For an 8-bit line along an edge, the squares in the unbroken runs that start at either end.
constexpr std::array<std::uint8_t, 256> MakeEndRuns() {
    std::array<std::uint8_t, 256> runs{};
    for (int line = 0; line < 256; ++line) {
        int run = 0;
        for (int bit = 0; bit < 8 && ((line >> bit) & 1); ++bit) {
            run |= 1 << bit;
        }
        for (int bit = 7; bit >= 0 && ((line >> bit) & 1); --bit) {
            run |= 1 << bit;
        }
        runs[line] = static_cast<std::uint8_t>(run);
    }
    return runs;
}

// Column 0 from an 8-bit line, bit i of the line on row i.
constexpr std::array<TBitboard, 256> MakeColumnSpread() {
    std::array<TBitboard, 256> spread{};
    for (int line = 0; line < 256; ++line) {
        for (int bit = 0; bit < 8; ++bit) {
            if ((line >> bit) & 1) {
                spread[line] |= FastBit(FastSquare(0, bit));
            }
        }
    }
    return spread;
}

constexpr std::array<std::uint8_t, 256> g_endRuns = MakeEndRuns();
constexpr std::array<TBitboard, 256> g_columnSpread = MakeColumnSpread();

// Column 0 of `bits` as an 8-bit line, row i in bit i.
inline unsigned ColumnLine(TBitboard bits) {
    return static_cast<unsigned>(((bits & column0) * 0x0102040810204080ULL) >> 56);
}

// The runs along the four edges from each occupied corner, in that corner's colour.
[[gnu::always_inline]] inline TBitboard CornerRuns(TBitboard own, TBitboard opp) {
    auto runs = [](TBitboard a, TBitboard b, auto line) {
        return static_cast<TBitboard>(g_endRuns[line(a)] | g_endRuns[line(b)]);
    };
    auto top = [](TBitboard bits) { return static_cast<unsigned>(bits & row0); };
    auto bottom = [](TBitboard bits) { return static_cast<unsigned>(bits >> 56); };
    auto left = [](TBitboard bits) { return ColumnLine(bits); };
    auto right = [](TBitboard bits) { return ColumnLine(bits >> 7); };
    TBitboard result = runs(own, opp, top);
    result |= runs(own, opp, bottom) << 56;
    result |= g_columnSpread[runs(own, opp, left)];
    result |= g_columnSpread[runs(own, opp, right)] << 7;
    return result;
}

struct TNeighbourClasses {
    TBitboard Six, Seven, Eight;
};

// Squares by their number of occupied neighbours, a neighbour off the board counting as
// occupied: the eight neighbour planes are added bit-sliced, one counter bit per plane.
[[gnu::always_inline]] inline TNeighbourClasses CountNeighbours(TBitboard occupied) {
    const TBitboard e = (occupied >> 1) | column7;
    const TBitboard w = (occupied << 1) | column0;
    const TBitboard s = (occupied >> 8) | row7;
    const TBitboard n = (occupied << 8) | row0;
    const TBitboard se = (occupied >> 9) | column7 | row7;
    const TBitboard sw = (occupied >> 7) | column0 | row7;
    const TBitboard ne = (occupied << 7) | column7 | row0;
    const TBitboard nw = (occupied << 9) | column0 | row0;
    auto carrySave = [](TBitboard a, TBitboard b, TBitboard c, TBitboard& carry) {
        carry = (a & b) | (c & (a ^ b));
        return a ^ b ^ c;
    };
    TBitboard c1, c2, c3, c4, c5;
    const TBitboard s1 = carrySave(e, w, s, c1);
    const TBitboard s2 = carrySave(n, se, sw, c2);
    const TBitboard s3 = ne ^ nw;
    c3 = ne & nw;
    const TBitboard ones = carrySave(s1, s2, s3, c4);
    const TBitboard t = carrySave(c1, c2, c3, c5);
    const TBitboard twos = t ^ c4;
    const TBitboard fourCarry = t & c4;
    const TBitboard fours = c5 ^ fourCarry;
    const TBitboard eights = c5 & fourCarry;
    return {fours & twos & ~ones, fours & twos & ones, eights};
}

// Disc count of `own` minus that of `opp` on `mask`, with the processor's bit count when the
// caller is compiled for it.
template <bool HardwareCount>
[[gnu::always_inline]] inline int CountDifference(TBitboard own, TBitboard opp, TBitboard mask) {
    if constexpr (HardwareCount) {
        return __builtin_popcountll(own & mask) - __builtin_popcountll(opp & mask);
    } else {
        return FastCount(own & mask) - FastCount(opp & mask);
    }
}

template <bool HardwareCount>
[[gnu::always_inline]] inline int EvaluateWith(TBitboard own, TBitboard opp) {
    const TBitboard occupied = own | opp;
    const TNeighbourClasses neighbours = CountNeighbours(occupied);
    const TBitboard runs = (occupied & corners) != 0 ? CornerRuns(own, opp) : 0;
    const TBitboard plain = ~(runs | neighbours.Six | neighbours.Seven | neighbours.Eight);
    // An occupied corner always lies in its own run, so the table's corner weight never counts.
    auto difference = [&](TBitboard mask) {
        return CountDifference<HardwareCount>(own, opp, mask);
    };
    return difference(g_tablePlanes[0] & plain) + 2 * difference(g_tablePlanes[1] & plain) +
           4 * difference(g_tablePlanes[2] & plain) +
           8 * difference((g_tablePlanes[3] & plain) | (neighbours.Six & ~runs)) +
           16 * difference(neighbours.Seven & ~runs) + 32 * difference(neighbours.Eight & ~runs) +
           128 * difference(runs);
}

int EvaluateGeneric(TBitboard own, TBitboard opp) {
    return EvaluateWith<false>(own, opp);
}

using TEvaluate = int (*)(TBitboard, TBitboard);

#if defined(__x86_64__) && !defined(__POPCNT__)
// Most leaves of the search end here; the bit-count instruction makes the evaluation about
// twice as fast, so it is used whenever the processor has it.
[[gnu::target("popcnt")]] int EvaluateHardware(TBitboard own, TBitboard opp) {
    return EvaluateWith<true>(own, opp);
}

TEvaluate ChooseEvaluate() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt") ? EvaluateHardware : EvaluateGeneric;
}
#else
TEvaluate ChooseEvaluate() {
    return EvaluateGeneric;
}
#endif

// Chosen on the first call, so that no start-up order can reach an unset pointer.
int EvaluateFirst(TBitboard own, TBitboard opp);
TEvaluate g_evaluate = EvaluateFirst;

int EvaluateFirst(TBitboard own, TBitboard opp) {
    g_evaluate = ChooseEvaluate();
    return g_evaluate(own, opp);
}

} // namespace

int FastEvaluate(TBitboard own, TBitboard opp) {
    return g_evaluate(own, opp);
}
