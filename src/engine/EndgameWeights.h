#pragma once

#include <cstdint>

// The weights of the solver's patterns (FastPatterns.h), one table after another, each indexed
// by its squares read in base three, in eighths of a disc. Made at build time from
// data/endgame-weights.bin beside this file: little-endian 16-bit integers in this order.
inline constexpr int kEdgeXWeights = 0;                            // a1..h1, b2, g2: 3^10
inline constexpr int kCorner3Weights = kEdgeXWeights + 59049;      // a1..c3: 3^9
inline constexpr int kCorner5Weights = kCorner3Weights + 19683;    // a1..e2: 3^10
inline constexpr int kSecondRowWeights = kCorner5Weights + 59049;  // a2..h2: 3^8
inline constexpr int kDiagonal8Weights = kSecondRowWeights + 6561; // a1..h8: 3^8
inline constexpr int kDiagonal7Weights = kDiagonal8Weights + 6561; // b1..h7: 3^7
inline constexpr int kEndgameWeightCount = kDiagonal7Weights + 2187;

// Stored as their 16 bits, read back as signed by the patterns.
extern const std::uint16_t g_endgameWeights[kEndgameWeightCount];
