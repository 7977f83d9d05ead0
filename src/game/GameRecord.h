#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/Reversiutil.h"

// The game's moves in the usual notation: a square is its column as a letter a..h from the left
// of the board as the play view first shows it (column 0 is "a") and its row as a digit 1..8 from
// the top (row 0 is "1"), so Black's opening move above the upper white disc, (3, 2), is "d3".
// A record is the squares of the moves one after the other ("d3c5f6"); passes are left out,
// as they follow from the rules.

struct TSquare {
    int Column;
    int Row;
};

// The square a ply placed a disc on, from the positions before and after it; false for a pass.
bool PlyPlacedDisc(const TBoard& before, const TBoard& after, TSquare& square);

// The record of the game in play: the plies of the game history, then the one that led to
// `current` (the position in play).
std::string GameRecordText(const TBoard& current);

// The last disc placed in the game in play (passes are skipped); false before the first move.
bool LastPlacedDisc(const TBoard& current, TSquare& square);

// The squares of a record. Letters may be capitals and the moves may be set apart by spaces,
// tabs or line breaks; anything else, an empty record and one of more than 60 moves are refused.
bool ParseGameRecord(std::string_view text, std::vector<TSquare>& moves);

// Plays `moves` from the start position, passing for a side that has no move (after the last
// move too, when neither side has one: the game's closing passes): `befores` gets the position
// before each ply (the passes' too) and `final` the position after the last. False, with the
// outputs unspecified, when a move is not legal where it comes.
bool ReplayGameRecord(const std::vector<TSquare>& moves, std::vector<TBoard>& befores,
                      TBoard& final);
