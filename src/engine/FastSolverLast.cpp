#include "engine/FastSolver.h"

#include "engine/FastFlips.h"

#include <cstdint>

namespace OCTAVANE_FAST_ISA {
namespace {

// The four 4x4 quarters of the board.
constexpr TBitboard kQuarters[4] = {0x000000000F0F0F0FULL, 0x00000000F0F0F0F0ULL,
                                    0x0F0F0F0F00000000ULL, 0xF0F0F0F000000000ULL};

// The empty squares, those of odd quarters first, each group in scan order.
int ListEmpties(TBitboard empty, int* squares) {
    const TBitboard odd = SolverOddQuarters(empty);
    int count = 0;
    for (TBitboard group : {empty & odd, empty & ~odd}) {
        for (; group != 0; group &= group - 1) {
            squares[count++] = FirstSquare(group);
        }
    }
    return count;
}

// The squares of each full line through a square, one direction at a time.
struct TLineMasks {
    TBitboard Diagonal9[15]; // towards higher x and higher y
    TBitboard Diagonal7[15]; // towards lower x and higher y
};

constexpr TLineMasks MakeLineMasks() {
    TLineMasks masks{};
    for (int square = 0; square < 64; ++square) {
        const int x = square % 8;
        const int y = square / 8;
        masks.Diagonal9[x - y + 7] |= TBitboard{1} << square;
        masks.Diagonal7[x + y] |= TBitboard{1} << square;
    }
    return masks;
}

constexpr TLineMasks kLineMasks = MakeLineMasks();

// The squares around each square: a move there turns nothing unless one holds the other side.
struct TAround {
    TBitboard Squares[64];
};

constexpr TAround MakeAround() {
    TAround around{};
    for (int square = 0; square < 64; ++square) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = square % 8 + dx;
                const int y = square / 8 + dy;
                if ((dx != 0 || dy != 0) && x >= 0 && x < 8 && y >= 0 && y < 8) {
                    around.Squares[square] |= TBitboard{1} << (y * 8 + x);
                }
            }
        }
    }
    return around;
}

constexpr TAround kAround = MakeAround();

// Flips, skipping the work where no disc of `opp` is next to the square.
[[gnu::always_inline]] inline TBitboard FlipsNear(int square, TBitboard own, TBitboard opp) {
    return (opp & kAround.Squares[square]) == 0 ? 0 : FlipsInline(square, own, opp);
}

// The discs a move on cell `cell` of one line of eight turns, by the mover's discs on the line
// (`mine`, the cell's own bit ignored) when every other cell holds the other side's disc: the
// count of the last empty square, where the rest of the board is full. A line shorter than eight
// reads as the other side's discs past its ends, which closes no run.
struct TLineFlipCounts {
    std::uint8_t Count[8][256];
};

constexpr TLineFlipCounts MakeLineFlipCounts() {
    TLineFlipCounts counts{};
    for (int cell = 0; cell < 8; ++cell) {
        for (int mine = 0; mine < 256; ++mine) {
            int total = 0;
            for (const int step : {-1, 1}) {
                int run = 0;
                int at = cell + step;
                for (; at >= 0 && at < 8 && (mine & (1 << at)) == 0; at += step) {
                    ++run;
                }
                total += at >= 0 && at < 8 ? run : 0;
            }
            counts.Count[cell][mine] = static_cast<std::uint8_t>(total);
        }
    }
    return counts;
}

constexpr TLineFlipCounts kLineFlipCounts = MakeLineFlipCounts();

// The discs a move on `square`, the only empty square, turns for the side owning `own`: each
// line through it gathered into one byte (a row as it is, a column by the multiply that lays its
// bytes' low bits side by side, a diagonal by the multiply that adds its bytes, whose bits never
// share a column).
[[gnu::always_inline]] inline int LastFlipCount(int square, TBitboard own) {
    constexpr TBitboard kGatherColumn = 0x8040201008040201ULL;
    const int x = square & 7;
    const int y = square >> 3;
    const unsigned row = static_cast<unsigned>(own >> (8 * y)) & 0xFF;
    const unsigned column = static_cast<unsigned>((((own >> x) & kColumn0) * kGatherColumn) >> 56);
    const unsigned diagonal9 =
        static_cast<unsigned>(((own & kLineMasks.Diagonal9[x - y + 7]) * kColumn0) >> 56);
    const unsigned diagonal7 =
        static_cast<unsigned>(((own & kLineMasks.Diagonal7[x + y]) * kColumn0) >> 56);
    return kLineFlipCounts.Count[x][row] + kLineFlipCounts.Count[7 - y][column] +
           kLineFlipCounts.Count[x][diagonal9] + kLineFlipCounts.Count[x][diagonal7];
}

} // namespace

TBitboard SolverOddQuarters(TBitboard empty) {
    TBitboard odd = 0;
    for (const TBitboard quarter : kQuarters) {
        if ((Count(empty & quarter) & 1) != 0) {
            odd |= quarter;
        }
    }
    return odd;
}

TBitboard StableDiscs(TBitboard discs, TBitboard occupied) {
    // Step 1. The full lines in each direction.
    TBitboard rows = 0;
    for (int y = 0; y < 8; ++y) {
        if (((occupied >> (8 * y)) & 0xFF) == 0xFF) {
            rows |= TBitboard{0xFF} << (8 * y);
        }
    }
    TBitboard columns = occupied;
    columns &= columns >> 32;
    columns &= columns >> 16;
    columns &= columns >> 8;
    columns = (columns & 0xFF) * kColumn0;
    TBitboard diagonals9 = 0;
    TBitboard diagonals7 = 0;
    for (int line = 0; line < 15; ++line) {
        if ((occupied & kLineMasks.Diagonal9[line]) == kLineMasks.Diagonal9[line]) {
            diagonals9 |= kLineMasks.Diagonal9[line];
        }
        if ((occupied & kLineMasks.Diagonal7[line]) == kLineMasks.Diagonal7[line]) {
            diagonals7 |= kLineMasks.Diagonal7[line];
        }
    }
    // Step 2. Grow from the edges: a disc is held along a line by a full line, the edge, or a
    // held disc of its own next to it (the bits that wrap round a row land on an edge square,
    // which the edge holds anyway).
    TBitboard stable = 0;
    for (;;) {
        const TBitboard alongRow = rows | (stable << 1) | (stable >> 1) | kColumn0 | kColumn7;
        const TBitboard alongColumn = columns | (stable << 8) | (stable >> 8) | kRow0 | kRow7;
        const TBitboard along9 = diagonals9 | (stable << 9) | (stable >> 9) | kEdges;
        const TBitboard along7 = diagonals7 | (stable << 7) | (stable >> 7) | kEdges;
        const TBitboard held = discs & alongRow & alongColumn & along9 & along7;
        if (held == stable) {
            return stable;
        }
        stable = held;
    }
}

int TExactSearch::LastOne(TBitboard own, TBitboard opp, int square) {
    ++m_nodes;
    const int ownCount = Count(own);
    if (const int flips = LastFlipCount(square, own); flips != 0) {
        return 2 * (ownCount + flips + 1) - 64;
    }
    if (const int flips = LastFlipCount(square, opp); flips != 0) {
        return 2 * (ownCount - flips) - 64;
    }
    // Neither side can fill it: the square goes to the winner (63 discs cannot tie).
    const int difference = 2 * ownCount - 63;
    return difference > 0 ? difference + 1 : difference - 1;
}

template <int N>
int TExactSearch::Last(TBitboard own, TBitboard opp, int alpha, int beta, const int* squares,
                       bool passed) {
    ++m_nodes;
    int best = -kBeyond;
    for (int i = 0; i < N; ++i) {
        const int square = squares[i];
        const TBitboard flips = FlipsNear(square, own, opp);
        if (flips == 0) {
            continue;
        }
        // The squares left, in the same order.
        int rest[N > 1 ? N - 1 : 1];
        for (int j = 0, k = 0; j < N; ++j) {
            if (j != i) {
                rest[k++] = squares[j];
            }
        }
        const TBitboard childOwn = opp & ~flips;
        const TBitboard childOpp = own | flips | Bit(square);
        int value;
        if constexpr (N == 2) {
            value = -LastOne(childOwn, childOpp, rest[0]);
        } else {
            value = -Last<N - 1>(childOwn, childOpp, -beta, -Max(alpha, best), rest, false);
        }
        if (value > best) {
            best = value;
            if (best >= beta) {
                return best;
            }
        }
    }
    if (best != -kBeyond) {
        return best;
    }
    if (passed) {
        return ExactFinalScore(own, opp);
    }
    return -Last<N>(opp, own, -beta, -alpha, squares, true);
}

template int TExactSearch::Last<2>(TBitboard, TBitboard, int, int, const int*, bool);
template int TExactSearch::Last<3>(TBitboard, TBitboard, int, int, const int*, bool);
template int TExactSearch::Last<4>(TBitboard, TBitboard, int, int, const int*, bool);
template int TExactSearch::Last<5>(TBitboard, TBitboard, int, int, const int*, bool);

int TExactSearch::LastSquares(TBitboard own, TBitboard opp, int alpha, int beta, bool passed) {
    int squares[kLastEmpties];
    const int count = ListEmpties(~(own | opp), squares);
    switch (count) {
    case 0:
        ++m_nodes;
        return ExactFinalScore(own, opp);
    case 1:
        return LastOne(own, opp, squares[0]);
    case 2:
        return Last<2>(own, opp, alpha, beta, squares, passed);
    case 3:
        return Last<3>(own, opp, alpha, beta, squares, passed);
    case 4:
        return Last<4>(own, opp, alpha, beta, squares, passed);
    default:
        return Last<5>(own, opp, alpha, beta, squares, passed);
    }
}

} // namespace OCTAVANE_FAST_ISA
