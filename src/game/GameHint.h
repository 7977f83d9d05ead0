#pragma once

#include "engine/SearchWorker.h"

// The hint: in a human's turn H asks where to play, and once the answer is there the cursor
// glides to it with the cursor's step; nothing is played. The question (GameAids.h's
// HintRequest) runs on a worker of its own, so that the picture never waits for it. An answer
// counts only for the position it was asked about, in the game it was asked in: once the board
// in play is another (a move, an undo, a pasted record) or the game is left or started anew,
// the question is stopped and its answer never shows.

// Where the hint searches. The frame loop's owner hands in a worker of the build and takes it
// back (null) before it destroys it; without one the hint runs inside its frame.
void SetHintWorker(TSearchWorker* worker);

// Asks about g_gameBoard. A question about that position already under way goes on instead.
void AskForHint();

// Once a frame in the game scene, after the turn machine: an answer for the position in play
// moves the cursor, in a human's turn; a question about another position is dropped.
void RunHint();

// Stops and drops the question under way, if any: the game is left or starts anew.
void ForgetHint();
