#pragma once

#include "engine/FastBoard.h"

#include <string>
#include <string_view>

// The common text form of a position, one line: 64 characters for a1..h8 row by row (`X` Black,
// `O` White, `-` empty), a space, then `X` or `O` for the side to move. Text after `;` is a
// comment; spaces and tabs around the position are ignored.

struct TPositionText {
    TBitboard Black = 0;
    TBitboard White = 0;
    bool BlackToMove = true;
};

enum class TPositionParse {
    Position, // a position was read
    Blank,    // nothing but a comment or white space: no position, no fault
    Bad,      // not a position; the reason is given
};

// Reads one line. For Bad, `reason` says what is wrong in words a person can act on.
TPositionParse ParsePositionText(std::string_view line, TPositionText* position,
                                 std::string* reason);

// A square as the players write it: column a..h, row 1..8 ("a1" is bit 0, "h8" bit 63).
std::string SquareName(int square);
