#pragma once

#include "engine/Reversiutil.h"
#include "platform/MouseState.h"

// What the game offers a human beyond the rules: the square under the mouse, the hint and the
// marks on the legal squares.

// The level whose choice the hint shows ("Extreme"), whatever level the computer plays.
inline constexpr int kHintLevel = 8;

// The square (column, row) under the mouse as the camera shows the board now: the line of sight
// through the mouse's point of the logical screen, with the view and projection the camera last
// gave the device and the viewport's clip window, meets the board's plane on that square.
// False when the mouse is off the picture or the point is off the board.
bool SquareUnderMouse(const TMouseFrame& mouse, int& column, int& row);

// The move level 8 would play for the side to move on `board`; false when it must pass.
// The computer player's own level is not touched.
bool FindHint(const TBoard& board, int& column, int& row);

// Draws the legal-move mark on every square where the side to move on `board` may place.
void RenderMoveMarks(const TBoard& board);

// Draws the last-move ring round square (column, row).
void RenderLastMoveMark(int column, int row);
