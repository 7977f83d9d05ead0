#pragma once

#include "engine/Reversiutil.h"
#include "engine/SearchRequest.h"

#include <random>
#include <string>
#include <utility>
#include <vector>

// Positions for the engine tests, all but the hand-written ones reached by legal play from the
// initial position, and the comparison of the computer player with the reference search.

using TRandom = std::mt19937_64;

// The measure of the fast search: a fixed-depth minimax over the plain board and evaluation that
// copies the board into every node and cuts off only by the parent's running value.

struct TReferenceAnswer {
    int X;      // the chosen move, phaseRoot for a root that is a leaf, phasePass for a pass
    int Y;      // its row, or the same marker
    int Value;  // the root's value from Black's side
    bool Spent; // the node budget ran out: the answer means nothing
};

// A root search of `depth` moves (a pass uses none).
TReferenceAnswer ReferenceSearch(const TBoard& board, int depth);

// More plies than any game has: 60 moves, a pass before each of them at most, and the last pass.
constexpr int kMaxPlies = 128;

// A position written row by row, top row first, rows parted by '/': 'X' Black, 'O' White,
// anything else empty; cells left out at the end of a row or of the board are empty.
TBoard BoardFromRows(const char* rows, int turn = cellBlack);

// A position in the one-line text of `octavane --solve`, as the search is asked about it.
TSearchRequest RequestOfText(const std::string& line);

// The discs of the side to move, then those of the other side, of a request or a fast position.
template <typename TPosition> std::pair<TBitboard, TBitboard> SidesOf(const TPosition& p) {
    return p.BlackToMove ? std::pair(p.Black, p.White) : std::pair(p.White, p.Black);
}

// The board as eight rows of '.', 'X' and 'O', then the side to move and the passes.
std::string BoardText(const TBoard& board);

// Every position of a game of uniformly random legal moves (passes where there are none), the
// finished one last; a refused move or a game longer than kMaxPlies fails the test.
std::vector<TBoard> RandomGame(TRandom& random);

// The first position of a random game with at most `empties` empty squares; false when the game
// is over there.
bool PlayoutTo(TRandom& random, int empties, TBoard& board);

// The fast search and the search node of the computer player against the reference at `depth`:
// empty when all three choose the same move (or pass, or none) with the same root value, else a
// description of the difference. The reference's answer goes to `reference` when given.
std::string CompareSearch(const TBoard& board, int depth, TReferenceAnswer* reference = nullptr);

// CompareSearch at the depth of `level`, and the computer player's answer at that level: the
// reference's move, or no move (the square left alone) when the side to move must pass.
std::string CompareLevel(const TBoard& board, int level);
