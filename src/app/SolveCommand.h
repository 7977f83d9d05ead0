#pragma once

#include <iosfwd>
#include <string>

// `octavane --solve FILE`: every position of the file solved exactly, with no window.
//
// Input: one position a line in the common text form (engine/PositionText.h); text after ';'
// and blank lines are ignored. Output, one line per position, four fields parted by spaces: the
// best move in lower case ("a2"), "pass" when the side to move must pass or "--" when the game
// is over; the final disc difference for the side to move with its sign ("+38", "0", "-12"),
// empty squares to the winner; the nodes searched; the seconds taken, to three decimals.
// A bad line is named with its number on `errors`, and the next lines still run.

// Exit status when a line was bad or the file could not be read.
inline constexpr int kExitBadPositions = 1;

// Solves the positions read from `input`; 0, or kExitBadPositions when a line was bad.
int SolvePositions(std::istream& input, std::ostream& output, std::ostream& errors);

// The same for the file at `path`, or standard input for "-".
int SolveFile(const std::string& path, std::ostream& output, std::ostream& errors);
