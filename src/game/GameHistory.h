#pragma once

#include <cstddef>

#include "engine/Reversiutil.h"

// The positions of the game in play before each of its moves and passes, oldest first, so that
// moves can be taken back. A new game starts it empty.

void ClearGameHistory();
// `before` is the position just before a move or a pass is applied to it.
void RecordGamePosition(const TBoard& before);
size_t GameHistorySize();

// Takes back the last move of a human (playerType is indexed by colour, as g_playerType) with
// every pass and computer move after it, and gives the position before that move: the same
// player's turn again, exactly as it was. A forced pass is no move of its own: it goes back with
// the move before it. False, with the history untouched, when no human move is left to take back.
bool TakeBackMove(const int playerType[3], TBoard& restored);
