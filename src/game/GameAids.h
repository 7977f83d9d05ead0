#pragma once

#include "engine/Reversiutil.h"
#include "engine/SearchRequest.h"
#include "platform/MouseState.h"

// What the game offers a human beyond the rules: the square under the mouse, the hint and the
// marks on the legal squares.

// The level whose choice the hint shows ("Extreme") while more than kExactEmpties squares are
// empty, whatever level the computer plays; from there on the hint is the exact solver's move.
inline constexpr int kHintLevel = 8;

// The square (column, row) under the mouse as the camera shows the board now: the line of sight
// through the mouse's point of the logical screen, with the view and projection the camera last
// gave the device and the viewport's clip window, meets the board's plane on that square.
// False when the mouse is off the picture or the point is off the board.
bool SquareUnderMouse(const TMouseFrame& mouse, int& column, int& row);

// The question the hint asks about `board`: the exact solver's move (TSearchKind::Exact) from
// kExactEmpties empty squares on, the move of kHintLevel before. The analysis marks the answer
// of the same question while the board is open.
TSearchRequest HintRequest(const TBoard& board);

// Whether two boards hold the same discs with the same side to move.
bool SamePosition(const TBoard& a, const TBoard& b);

// The point of the logical screen (640 x 480) where the camera shows the centre of square
// (column, row) on the board's plane, through the view and projection it last gave the device;
// false when that point is behind the eye.
bool ScreenPointOfSquare(int column, int row, double& x, double& y);

// Draws the legal-move mark on every square where the side to move on `board` may place.
void RenderMoveMarks(const TBoard& board);

// Draws the last-move ring round square (column, row).
void RenderLastMoveMark(int column, int row);
