#pragma once

#include "engine/SearchWorker.h"

// The analysis, a study aid switched on and off by its key (A, a gamepad's Start, the browser's
// "Analysis" button). While it is on and a human chooses a move:
// - from kExactEmpties empty squares on, every legal square shows the exact final disc
//   difference that move leads to with best play by both sides, from the mover's side ("+4",
//   "0", "-6"); once every square is known, the best ones show in green;
// - before that point a green ring marks the move the Extreme level prefers, and no numbers show.
// The values come from a worker of their own, one square after another in scan order, each shown
// as soon as it is known. Another position in play (a move, an undo, a redo, a pasted record), a
// new game or leaving the game stops the work and drops every value. Nothing shows while discs
// fall or turn: only in a human's turn, once the last move's animation is over.

extern bool g_analysisOn; // off when the program starts; kept from game to game

// Where the analysis searches. The frame loop's owner hands in a worker of the build and takes it
// back (null) before it destroys it; without one each search runs inside its frame.
void SetAnalysisWorker(TSearchWorker* worker);

// Turns the analysis on or off; off drops what it knew.
void ToggleAnalysis();

// Once a frame in the game scene, after the turn machine: keeps the work in step with the
// position in play, takes the answer of a search that has ended and starts the next.
void RunAnalysis();

// Stops the work and drops every value, the analysis staying on: the game is left or starts anew.
void ForgetAnalysis();

// Draws the ring round the preferred move, with the game's models.
void RenderAnalysisMark();

// Draws the values known, centred on their squares, over the frame.
void DrawAnalysisValues();
