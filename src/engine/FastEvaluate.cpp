#include "engine/FastKernels.h"
#include "engine/Weights.h"

#if defined(__AVX512F__)
#include <immintrin.h>
#endif

namespace OCTAVANE_FAST_ISA {
namespace {

// Weigh works the table's plain squares one lane per plane and gives the six-neighbour class the
// lane of the table's highest plain plane; the runs and the other crowded classes take a lane
// each, eight lanes in all.
static_assert(kPlainPlanes == 4 && kCrowdedWeights[0] == 1 << (kPlainPlanes - 1),
              "six occupied neighbours weigh as the table's highest plain plane");

// Fixed-size tables as plain arrays in structs, so that no library template built for one
// instruction set is shared with another.
template <typename T, int N> struct TTable {
    T Item[N]{};
    constexpr T& operator[](int i) { return Item[i]; }
    constexpr const T& operator[](int i) const { return Item[i]; }
};

// The square weights as one mask per bit of the weight.
constexpr TTable<TBitboard, kWeightPlanes> MakeWeightPlanes() {
    TTable<TBitboard, kWeightPlanes> planes;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            for (int bit = 0; bit < kWeightPlanes; ++bit) {
                if ((g_squareWeights[y][x] >> bit) & 1) {
                    planes[bit] |= FastBit(FastSquare(x, y));
                }
            }
        }
    }
    return planes;
}

constexpr TTable<TBitboard, kWeightPlanes> kTablePlanes = MakeWeightPlanes();

// For an 8-bit line along an edge, the squares in the unbroken runs that start at either end.
constexpr TTable<std::uint8_t, 256> MakeEndRuns() {
    TTable<std::uint8_t, 256> runs;
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
constexpr TTable<TBitboard, 256> MakeColumnSpread() {
    TTable<TBitboard, 256> spread;
    for (int line = 0; line < 256; ++line) {
        for (int bit = 0; bit < 8; ++bit) {
            if ((line >> bit) & 1) {
                spread[line] |= FastBit(FastSquare(0, bit));
            }
        }
    }
    return spread;
}

constexpr TTable<std::uint8_t, 256> kEndRuns = MakeEndRuns();
constexpr TTable<TBitboard, 256> kColumnSpread = MakeColumnSpread();

// Column 0 of `bits` as an 8-bit line, row i in bit i.
inline unsigned ColumnLine(TBitboard bits) {
    return static_cast<unsigned>(((bits & kColumn0) * 0x0102040810204080ULL) >> 56);
}

// The runs along the four edges from each occupied corner, in that corner's colour.
[[gnu::always_inline]] inline TBitboard CornerRuns(TBitboard own, TBitboard opp) {
    auto runs = [](TBitboard a, TBitboard b, auto line) {
        return static_cast<TBitboard>(kEndRuns[line(a)] | kEndRuns[line(b)]);
    };
    auto top = [](TBitboard bits) { return static_cast<unsigned>(bits & kRow0); };
    auto bottom = [](TBitboard bits) { return static_cast<unsigned>(bits >> 56); };
    auto left = [](TBitboard bits) { return ColumnLine(bits); };
    auto right = [](TBitboard bits) { return ColumnLine(bits >> 7); };
    TBitboard result = runs(own, opp, top);
    result |= runs(own, opp, bottom) << 56;
    result |= kColumnSpread[runs(own, opp, left)];
    result |= kColumnSpread[runs(own, opp, right)] << 7;
    return result;
}

struct TNeighbourClasses {
    TBitboard Five, Six, Seven, Eight;
};

// Squares by their number of occupied neighbours, a neighbour off the board counting as
// occupied: the eight neighbour planes are added bit-sliced, one counter bit per plane.
[[gnu::always_inline]] inline TNeighbourClasses CountNeighbours(TBitboard occupied) {
    const TBitboard e = (occupied >> 1) | kColumn7;
    const TBitboard w = (occupied << 1) | kColumn0;
    const TBitboard s = (occupied >> 8) | kRow7;
    const TBitboard n = (occupied << 8) | kRow0;
    const TBitboard se = (occupied >> 9) | kColumn7 | kRow7;
    const TBitboard sw = (occupied >> 7) | kColumn0 | kRow7;
    const TBitboard ne = (occupied << 7) | kColumn7 | kRow0;
    const TBitboard nw = (occupied << 9) | kColumn0 | kRow0;
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
    return {fours & ~twos & ones, fours & twos & ~ones, fours & twos & ones, eights};
}

struct TClasses {
    TBitboard Runs;  // in a corner run
    TBitboard Six;   // six occupied neighbours and no run
    TBitboard Seven; // seven
    TBitboard Eight; // eight
    TBitboard Plain; // the rest: the table's weight
};

[[gnu::always_inline]] inline TClasses Classify(TBitboard own, TBitboard opp) {
    const TBitboard occupied = own | opp;
    const TNeighbourClasses neighbours = CountNeighbours(occupied);
    const TBitboard runs = (occupied & kCorners) != 0 ? CornerRuns(own, opp) : 0;
    return {runs, neighbours.Six & ~runs, neighbours.Seven & ~runs, neighbours.Eight & ~runs,
            ~(runs | neighbours.Six | neighbours.Seven | neighbours.Eight)};
}

// The position's weight for `own` less that for `opp`, by the classes of its squares.
[[gnu::always_inline]] inline int Weigh(TBitboard own, TBitboard opp, const TClasses& classes) {
    // An occupied corner always lies in its own run, so the table's corner weight never counts.
#if defined(__AVX512F__) && defined(__AVX512VPOPCNTDQ__)
    // The classes side by side, one lane each, in the order of their weights: the plain
    // squares of each of the table's planes (the six-neighbour class joining the last), then
    // seven and eight neighbours and the runs.
    const __m512i table = _mm512_set_epi64(0, 0, 0, 0, static_cast<long long>(kTablePlanes[3]),
                                           static_cast<long long>(kTablePlanes[2]),
                                           static_cast<long long>(kTablePlanes[1]),
                                           static_cast<long long>(kTablePlanes[0]));
    const __m512i crowded = _mm512_set_epi64(
        0, static_cast<long long>(classes.Runs), static_cast<long long>(classes.Eight),
        static_cast<long long>(classes.Seven), static_cast<long long>(classes.Six), 0, 0, 0);
    const __m512i masks = _mm512_or_si512(
        _mm512_and_si512(table, _mm512_set1_epi64(static_cast<long long>(classes.Plain))), crowded);
    const __m512i mine = _mm512_popcnt_epi64(
        _mm512_and_si512(masks, _mm512_set1_epi64(static_cast<long long>(own))));
    const __m512i theirs = _mm512_popcnt_epi64(
        _mm512_and_si512(masks, _mm512_set1_epi64(static_cast<long long>(opp))));
    const __m512i weighted =
        _mm512_sllv_epi64(_mm512_sub_epi64(mine, theirs),
                          _mm512_set_epi64(0, kRunPlane, kCrowdedPlanes[2], kCrowdedPlanes[1],
                                           kCrowdedPlanes[0], 2, 1, 0));
    const __m256i half =
        _mm256_add_epi64(_mm512_castsi512_si256(weighted), _mm512_extracti64x4_epi64(weighted, 1));
    const __m128i quarter =
        _mm_add_epi64(_mm256_castsi256_si128(half), _mm256_extracti128_si256(half, 1));
    return static_cast<int>(_mm_cvtsi128_si64(quarter) + _mm_extract_epi64(quarter, 1));
#else
    auto difference = [&](TBitboard mask) { return Count(own & mask) - Count(opp & mask); };
    return difference(kTablePlanes[0] & classes.Plain) +
           2 * difference(kTablePlanes[1] & classes.Plain) +
           4 * difference(kTablePlanes[2] & classes.Plain) +
           kCrowdedWeights[0] * difference((kTablePlanes[3] & classes.Plain) | classes.Six) +
           kCrowdedWeights[1] * difference(classes.Seven) +
           kCrowdedWeights[2] * difference(classes.Eight) +
           kCornerRunWeight * difference(classes.Runs);
#endif
}

// The squares around each square.
constexpr TTable<TBitboard, 64> MakeAround() {
    TTable<TBitboard, 64> around;
    for (int square = 0; square < 64; ++square) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = square % 8 + dx;
                const int y = square / 8 + dy;
                if ((dx != 0 || dy != 0) && x >= 0 && x < 8 && y >= 0 && y < 8) {
                    around[square] |= TBitboard{1} << (y * 8 + x);
                }
            }
        }
    }
    return around;
}

constexpr TTable<TBitboard, 64> kAround = MakeAround();

} // namespace

int Evaluate(TBitboard own, TBitboard opp) {
    return Weigh(own, opp, Classify(own, opp));
}

TEvalBase EvalBase(TBitboard own, TBitboard opp) {
    const TBitboard occupied = own | opp;
    const TNeighbourClasses neighbours = CountNeighbours(occupied);
    return {own,
            opp,
            neighbours.Five,
            neighbours.Six,
            neighbours.Seven,
            neighbours.Eight,
            (occupied & kCorners) != 0 ? CornerRuns(own, opp) : 0};
}

int EvaluateAfter(const TEvalBase& base, int square, TBitboard flips) {
    const TBitboard bit = Bit(square);
    const TBitboard own = base.Own | flips | bit;
    const TBitboard opp = base.Opp & ~flips;
    // The new disc adds one occupied neighbour to each square around it, and nothing else
    // changes the counts. A move off the edges turns no edge disc, so the runs stay.
    const TBitboard around = kAround[square];
    const TBitboard six = (base.Six & ~around) | (base.Five & around);
    const TBitboard seven = (base.Seven & ~around) | (base.Six & around);
    const TBitboard eight = (base.Eight & ~around) | (base.Seven & around);
    TBitboard runs = base.Runs;
    if ((bit & kEdges) != 0) {
        runs = ((own | opp) & kCorners) != 0 ? CornerRuns(own, opp) : 0;
    }
    return Weigh(own, opp,
                 {runs, six & ~runs, seven & ~runs, eight & ~runs, ~(runs | six | seven | eight)});
}

#if defined(OCTAVANE_FAST_MOVE_LANES)

__m512i ScoresAfterLanes(const TEvalBase& base, __m512i square) {
    auto spread = [](TBitboard bits) { return _mm512_set1_epi64(static_cast<long long>(bits)); };
    const __m512i flips = FlipsOfLanes(base.Own, base.Opp, square);
    const __m512i mine = _mm512_or_si512(spread(base.Own), _mm512_or_si512(flips, square));
    const __m512i theirs = _mm512_andnot_si512(flips, spread(base.Opp));

    // As in EvaluateAfter: the squares around the new disc move up one neighbour class.
    const __m512i beside =
        _mm512_or_si512(_mm512_and_si512(_mm512_slli_epi64(square, 1), spread(~kColumn0)),
                        _mm512_and_si512(_mm512_srli_epi64(square, 1), spread(~kColumn7)));
    const __m512i row = _mm512_or_si512(beside, square);
    const __m512i around = _mm512_or_si512(
        beside, _mm512_or_si512(_mm512_slli_epi64(row, 8), _mm512_srli_epi64(row, 8)));
    auto choose = [](__m512i where, __m512i then, __m512i otherwise) {
        return _mm512_ternarylogic_epi64(where, then, otherwise, 0xCA);
    };
    const __m512i six = choose(around, spread(base.Five), spread(base.Six));
    const __m512i seven = choose(around, spread(base.Six), spread(base.Seven));
    const __m512i eight = choose(around, spread(base.Seven), spread(base.Eight));

    // An edge move may change the corner runs, when a corner is or becomes occupied: those
    // lanes have theirs worked out one by one.
    __m512i runs = spread(base.Runs);
    const TBitboard watched = ((base.Own | base.Opp) & kCorners) != 0 ? kEdges : kCorners;
    const __mmask8 rerun = _mm512_test_epi64_mask(square, spread(watched));
    if (rerun != 0) {
        alignas(64) TBitboard mineLanes[8];
        alignas(64) TBitboard theirLanes[8];
        alignas(64) TBitboard runLanes[8];
        _mm512_store_si512(mineLanes, mine);
        _mm512_store_si512(theirLanes, theirs);
        _mm512_store_si512(runLanes, runs);
        for (unsigned lanes = rerun; lanes != 0; lanes &= lanes - 1) {
            const int lane = __builtin_ctz(lanes);
            runLanes[lane] = CornerRuns(mineLanes[lane], theirLanes[lane]);
        }
        runs = _mm512_load_si512(runLanes);
    }

    // Weigh, lane by lane: each class's count difference shifted by the log of its weight.
    const __m512i crowded =
        _mm512_or_si512(runs, _mm512_or_si512(six, _mm512_or_si512(seven, eight)));
    auto difference = [&](__m512i mask, int log2Weight) {
        return _mm512_slli_epi64(
            _mm512_sub_epi64(_mm512_popcnt_epi64(_mm512_and_si512(mask, mine)),
                             _mm512_popcnt_epi64(_mm512_and_si512(mask, theirs))),
            log2Weight);
    };
    auto plain = [&](int plane) {
        return _mm512_andnot_si512(crowded, spread(kTablePlanes[plane]));
    };
    __m512i score = difference(plain(0), 0);
    score = _mm512_add_epi64(score, difference(plain(1), 1));
    score = _mm512_add_epi64(score, difference(plain(2), 2));
    score = _mm512_add_epi64(
        score,
        difference(_mm512_or_si512(plain(3), _mm512_andnot_si512(runs, six)), kCrowdedPlanes[0]));
    score =
        _mm512_add_epi64(score, difference(_mm512_andnot_si512(runs, seven), kCrowdedPlanes[1]));
    score =
        _mm512_add_epi64(score, difference(_mm512_andnot_si512(runs, eight), kCrowdedPlanes[2]));
    score = _mm512_add_epi64(score, difference(runs, kRunPlane));

    // A move that fills the board or takes the opponent's last disc ends the game.
    const __mmask8 over =
        _mm512_cmpeq_epi64_mask(theirs, _mm512_setzero_si512()) |
        _mm512_cmpeq_epi64_mask(_mm512_or_si512(mine, theirs), spread(~TBitboard{0}));
    if (over != 0) {
        const __m512i final = _mm512_mullo_epi64(
            _mm512_sub_epi64(_mm512_popcnt_epi64(mine), _mm512_popcnt_epi64(theirs)),
            _mm512_set1_epi64(kFinishedDiscValue));
        score = _mm512_mask_mov_epi64(score, over, final);
    }
    return score;
}

#endif

TWeightPlanes WeightPlanes(TBitboard own, TBitboard opp) {
    const TClasses classes = Classify(own, opp);
    TWeightPlanes planes;
    for (int plane = 0; plane < kWeightPlanes; ++plane) {
        planes.Plane[plane] = kTablePlanes[plane] & classes.Plain;
    }
    planes.Plane[kCrowdedPlanes[0]] |= classes.Six;
    planes.Plane[kCrowdedPlanes[1]] |= classes.Seven;
    planes.Plane[kCrowdedPlanes[2]] |= classes.Eight;
    planes.Plane[kRunPlane] |= classes.Runs;
    return planes;
}

} // namespace OCTAVANE_FAST_ISA
