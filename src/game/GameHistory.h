#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Reversiutil.h"

// The positions of the game in play before each of its moves and passes, oldest first, so that
// moves can be taken back; and the redo line, the positions that taking back left behind, so
// that they can be played again. A new game starts both empty.

void ClearGameHistory();
// `before` is the position just before a move or a pass is applied to it.
void RecordGamePosition(const TBoard& before);
size_t GameHistorySize();
// The position before ply `ply` (0 = the first of the game); `ply` < GameHistorySize().
const TBoard& GamePositionBefore(size_t ply);

// Takes back the last move of a human (playerType is indexed by colour, as g_playerType) with
// every pass and computer move after it, and gives the position before that move: the same
// player's turn again, exactly as it was. A forced pass is no move of its own: it goes back with
// the move before it. `current` is the position in play; it and every position taken back join
// the front of the redo line. False, with the history and the redo line untouched, when no
// human move is left to take back.
bool TakeBackMove(const TBoard& current, const int playerType[3], TBoard& restored);

// The redo line, nearest first. A move that is not a redo drops it (ForgetRedo).
bool HasRedo();
// Takes the position that follows the current one on the redo line; false when it is empty.
bool TakeRedoPosition(TBoard& after);
void ForgetRedo();

// The redo line's positions, nearest first (`index` < RedoLineSize()), and the whole line put
// back at once, nearest first, as a kept game brings it.
size_t RedoLineSize();
const TBoard& RedoPosition(size_t index);
void SetRedoLine(const std::vector<TBoard>& nearestFirst);

// Counts every change of the history or the redo line, so that a reader can tell cheaply
// whether anything moved since it last looked.
uint32_t GameHistoryChanges();
