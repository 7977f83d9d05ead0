#pragma once

#include "engine/FastBoard.h"

// Squares of the board as bitboards, square (x, y) on bit y * 8 + x.
inline constexpr TBitboard kColumn0 = 0x0101010101010101ULL;
inline constexpr TBitboard kColumn7 = 0x8080808080808080ULL;
inline constexpr TBitboard kNotColumn0 = ~kColumn0;
inline constexpr TBitboard kNotColumn7 = ~kColumn7;
inline constexpr TBitboard kRow0 = 0x00000000000000FFULL;
inline constexpr TBitboard kRow7 = 0xFF00000000000000ULL;
inline constexpr TBitboard kEdges = kColumn0 | kColumn7 | kRow0 | kRow7;
inline constexpr TBitboard kCorners = (kColumn0 | kColumn7) & (kRow0 | kRow7);

// The three squares that touch each corner.
inline constexpr TBitboard kNextToCorners = 0x42C300000000C342ULL;

static_assert(kEdges == 0xFF818181818181FFULL && kCorners == 0x8100000000000081ULL);
static_assert(kNotColumn0 == 0xFEFEFEFEFEFEFEFEULL && kNotColumn7 == 0x7F7F7F7F7F7F7F7FULL);
