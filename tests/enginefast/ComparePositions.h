#pragma once

#include "engine/FastBoard.h"
#include "engine/Reversiutil.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Positions for comparing the fast search with the reference, all reached by legal play from
// the initial position, and the comparison itself.

using TRandom = std::mt19937_64;

// Plays one uniformly random legal move, or passes when the side to move has none. False when
// the game is already over.
bool PlayRandomMove(TRandom& random, TBoard& board);

// Discs scattered at random over the whole board, with a density drawn anew each time: edges and
// corners are often taken, in ways play rarely reaches.
struct TScattering {
    TBitboard Own = 0;
    TBitboard Opp = 0;
};
TScattering ScatterDiscs(TRandom& random);

// A random game played until `empties` squares are left; false when it ended earlier.
bool PlayoutTo(TRandom& random, int empties, TBoard& board);

// Random positions whose side to move has no legal move although the game goes on, taken from
// random games.
std::vector<TBoard> PassPositions(TRandom& random, int count);

// Random positions just after a pass (`passes` is 1) whose side to move has a legal move.
std::vector<TBoard> AfterPassPositions(TRandom& random, int count);

// Random positions where neither side can move although squares are empty: the side to move
// has just been passed to, so one more pass ends the game.
std::vector<TBoard> DeadlockPositions(TRandom& random, int count);

// The fast search against the reference at `depth` on `board`: empty when the chosen move (or
// pass, or none) and the root value agree, else a description of the difference.
std::string CompareSearch(const TBoard& board, int depth);

// The computer player at `level` against the reference player: empty when Think answers the
// reference's move (or pass) and the fast search at that level's depth also reports the
// reference's root value; else a description of the difference.
std::string CompareLevel(const TBoard& board, int level);

// The board as eight rows of '.', 'X' (Black), 'O' (White), then the side to move and passes.
std::string BoardText(const TBoard& board);
