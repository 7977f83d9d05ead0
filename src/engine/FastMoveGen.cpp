#include "engine/FastKernels.h"

namespace OCTAVANE_FAST_ISA {
namespace {

constexpr TBitboard notColumn0 = 0xFEFEFEFEFEFEFEFEULL;
constexpr TBitboard notColumn7 = 0x7F7F7F7F7F7F7F7FULL;

// The eight rays leaving each square, nearest square first in bit order for the four rays that
// climb (bit index grows) and last for the four that descend.
struct TRays {
    TBitboard Ray[fastSquareCount][8]{};
};

constexpr int rayDx[8] = {1, 0, 1, -1, -1, 0, -1, 1};
constexpr int rayDy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int climbingRays = 4;

constexpr TRays MakeRays() {
    TRays rays;
    for (int square = 0; square < fastSquareCount; ++square) {
        for (int dir = 0; dir < 8; ++dir) {
            int x = square % 8 + rayDx[dir];
            int y = square / 8 + rayDy[dir];
            while (x >= 0 && x < 8 && y >= 0 && y < 8) {
                rays.Ray[square][dir] |= TBitboard{1} << FastSquare(x, y);
                x += rayDx[dir];
                y += rayDy[dir];
            }
        }
    }
    return rays;
}

constexpr TRays g_rays = MakeRays();

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
    const TBitboard inner = opp & notColumn0 & notColumn7;
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
    const auto& rays = g_rays.Ray[square];
    TBitboard flips = 0;
    // Along a climbing ray the first square that is not the opponent's is the lowest set bit
    // of the stops; along a descending ray it is the highest. The run before it turns over
    // when that square is the mover's. (With no stop at all, bit 0 stands in: it is either off
    // the ray or the opponent's, so nothing turns.)
    for (int dir = 0; dir < climbingRays; ++dir) {
        const TBitboard stops = rays[dir] & ~opp;
        const TBitboard first = stops & (0 - stops);
        const TBitboard closed = 0 - static_cast<TBitboard>((first & own) != 0);
        flips |= rays[dir] & (first - 1) & closed;
    }
    for (int dir = climbingRays; dir < 8; ++dir) {
        const TBitboard stops = rays[dir] & ~opp;
        const TBitboard first = TBitboard{1} << (63 - __builtin_clzll(stops | 1));
        const TBitboard closed = 0 - static_cast<TBitboard>((first & own & rays[dir]) != 0);
        flips |= rays[dir] & ~((first << 1) - 1) & closed;
    }
    return flips;
}

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
