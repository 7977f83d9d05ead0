#pragma once

#include "engine/Reversiutil.h"

// The evaluation's weights, for both evaluations: the plain one that reads a TBoard and the fast
// one that works on bitboards. The fast one builds its tables from these, so a change here
// changes how the computer plays in both; the asserts below say what its bit-plane encoding
// needs of them.

// Weight of a disc on each square, [y][x]; symmetric under all eight symmetries of the board.
inline constexpr int g_squareWeights[kBoardSize][kBoardSize] = {
    {16, 1, 8, 4, 4, 8, 1, 16}, {1, 1, 1, 2, 2, 1, 1, 1},   {8, 1, 8, 4, 4, 8, 1, 8},
    {4, 2, 4, 8, 8, 4, 2, 4},   {4, 2, 4, 8, 8, 4, 2, 4},   {8, 1, 8, 4, 4, 8, 1, 8},
    {1, 1, 1, 2, 2, 1, 1, 1},   {16, 1, 8, 4, 4, 8, 1, 16},
};

// A disc with at least kCrowdedFrom occupied neighbours (off the board counts as occupied)
// weighs kCrowdedWeights[neighbours - kCrowdedFrom] instead of its square's weight.
inline constexpr int kCrowdedFrom = 6;
inline constexpr int kCrowdedWeights[] = {8, 16, 32};
inline constexpr int kCrowdedLevels = sizeof(kCrowdedWeights) / sizeof(kCrowdedWeights[0]);

// A disc in an unbroken run along an edge from an occupied corner of its colour.
inline constexpr int kCornerRunWeight = 128;

// What a finished game gives each disc of difference.
inline constexpr int kFinishedDiscValue = 100;

consteval bool IsPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

consteval int Log2(int value) {
    int log = 0;
    while (value > 1) {
        value >>= 1;
        ++log;
    }
    return log;
}

// The fast evaluation keeps, for every square, its weight as bit planes: plane k holds the
// squares that weigh 2^k. The table's plain squares use the low planes, the crowded discs one
// plane each, the corner runs the top one.
inline constexpr int kWeightPlanes = Log2(kCornerRunWeight) + 1;
inline constexpr int kRunPlane = Log2(kCornerRunWeight);
inline constexpr int kCrowdedPlanes[] = {Log2(kCrowdedWeights[0]), Log2(kCrowdedWeights[1]),
                                         Log2(kCrowdedWeights[2])};

// An occupied corner always lies in its own run, so the table's corner weight never counts, and
// the other squares fit the planes below the first crowded plane's successor.
inline constexpr int kPlainPlanes = kCrowdedPlanes[0] + 1;

// The one plane no weight uses: between the most crowded disc's and the runs'.
inline constexpr int kEmptyPlane = kCrowdedPlanes[kCrowdedLevels - 1] + 1;

consteval bool SquareWeightsFitPlanes() {
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const bool corner = (x == 0 || x == kBoardSize - 1) && (y == 0 || y == kBoardSize - 1);
            const int weight = g_squareWeights[y][x];
            if (!IsPowerOfTwo(weight) || (!corner && Log2(weight) >= kPlainPlanes) ||
                Log2(weight) >= kRunPlane) {
                return false;
            }
        }
    }
    return true;
}

static_assert(SquareWeightsFitPlanes(),
              "square weights are powers of two, below 16 off the corners");
static_assert(kCrowdedLevels == 3 && kCrowdedFrom + kCrowdedLevels - 1 == 8,
              "the crowded classes are six, seven and eight occupied neighbours");
static_assert(IsPowerOfTwo(kCrowdedWeights[0]) && IsPowerOfTwo(kCrowdedWeights[1]) &&
                  IsPowerOfTwo(kCrowdedWeights[2]) && IsPowerOfTwo(kCornerRunWeight),
              "every weight is one bit plane");
static_assert(kCrowdedPlanes[1] == kCrowdedPlanes[0] + 1 &&
                  kCrowdedPlanes[2] == kCrowdedPlanes[1] + 1,
              "the crowded classes take consecutive planes");
static_assert(kEmptyPlane + 1 == kRunPlane && kRunPlane == kWeightPlanes - 1,
              "one plane, the one below the runs', is always empty; the runs take the last");
