#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/Reversiutil.h"

// The game in play as the platform keeps it between runs (platform/GameKeeper.h): the players,
// the computer's level, every ply from the start and the redo line. On a platform that keeps
// games (the browser), the next start goes straight back into the game, at the same position,
// with undo and redo as they were. A finished game, and one left for the title, is not kept.
//
// The text, one item a line:
//   Octavane game 1
//   players human computer          (Black's, then White's)
//   level 9
//   plies d3 c5 -- f6               (every ply from the start; "--" is a pass)
//   redo e6 f5                      (the redo line's plies, nearest first)

struct TKeptGame {
    int Players[3] = {0, 0, 0}; // indexed by cellBlack / cellWhite, as g_playerType
    int Level = 0;
    std::vector<TBoard> Befores; // the position before each ply, oldest first
    TBoard Current;              // the position the plies lead to
    std::vector<TBoard> Redo;    // the positions of the redo line, nearest first
};

// The game in play as text.
std::string KeptGameText();

// Reads a kept game's text and replays its plies from the start; false, with `game`
// unspecified, for anything that is not a whole game this version wrote (an unknown player or
// level, a ply that is not legal where it comes, a line too many or too few).
bool ParseKeptGame(std::string_view text, TKeptGame& game);

// Once a frame, after the game scene ran: the game is handed to the keeper whenever a ply, an
// undo or a redo changed it since the last frame; a finished game is dropped instead. Nothing
// outside the game scene is kept.
void KeepGameInPlay();

// Drops the kept game: the game in play was left for the title.
void ForgetKeptGame();

// At start-up, once the keeper is installed: reads the kept game. One that reads whole and is
// not over waits for the title, which resumes it; true then. One that does not read is dropped.
bool OfferKeptGame();

// On the title: the game OfferKeptGame found becomes the game in play and the game scene takes
// over at its position; true then. Each offered game is resumed once.
bool ResumeKeptGame();
