#pragma once

// One Reversi position with the rules of the game.
//
// Squares are addressed (x, y): x is the column 0..7, y the row 0..7, always in that order.
// Every rule operation acts for the side in `turn`; nothing plays for a given colour.
// TBoard is a flat record of plain ints with no heap storage: the search copies it once per
// node, and the game scene copies whole boards by assignment and reads the fields directly.

// Cell values; the first three also index `counts`.
constexpr int cellEmpty = 0;
constexpr int cellBlack = 1; // Black moves first.
constexpr int cellWhite = 2;
constexpr int cellOutside = -1; // What GetCell answers off the board; never stored.

constexpr int kBoardSize = 8;

class TBoard {
  public:
    // The initial position: White on (3, 3) and (4, 4), Black on (4, 3) and (3, 4),
    // Black to move, no passes.
    TBoard();

    // cells[y][x], or cellOutside for any x or y outside 0..7.
    int GetCell(int x, int y) const;
    // Stores `value` (0..2) on an on-board square and keeps the counters in step.
    // Neither argument is checked; callers pass valid ones.
    void SetCell(int x, int y, int value);

    int GetTurn() const { return turn; }
    int GetOpponent() const { return turn == cellBlack ? cellWhite : cellBlack; }
    // counts[kind] for kind cellEmpty, cellBlack or cellWhite (not checked).
    int GetCount(int kind) const { return counts[kind]; }

    // Whether the side to move may play at (x, y); false off the board.
    bool CanPlace(int x, int y) const;
    // Plays the side to move at (x, y), turning every run it closes, and hands the turn over.
    // An illegal move returns false and leaves the board exactly as it was.
    bool Place(int x, int y);
    // True when the side to move has no legal move anywhere.
    bool MustPass() const;
    // Hands the turn over without a move, only when MustPass() holds; otherwise false and
    // nothing changes.
    bool Pass();
    // Over after two passes in a row, on a full board, or once either colour has no disc left.
    bool IsGameOver() const;

    int cells[kBoardSize][kBoardSize];
    int turn;      // cellBlack or cellWhite
    int counts[3]; // empty squares, black discs, white discs
    int passes;    // passes in a row since the last move: 0, 1 or 2
};
