#pragma once

#include "engine/Reversiutil.h"

#include <array>
#include <string>

// Positions written as eight rows of text, top row first: 'X' black, 'O' white, '.' empty.
// Every cell goes through SetCell, so the counters stay true.
inline TBoard BoardFromRows(const std::array<const char*, 8>& rows, int turn = cellBlack) {
    TBoard board;
    for (int y = 0; y < boardSize; ++y) {
        for (int x = 0; x < boardSize; ++x) {
            const char c = rows[y][x];
            board.SetCell(x, y, c == 'X' ? cellBlack : c == 'O' ? cellWhite : cellEmpty);
        }
    }
    board.turn = turn;
    return board;
}

inline std::string RowsOf(const TBoard& board) {
    std::string text;
    for (int y = 0; y < boardSize; ++y) {
        for (int x = 0; x < boardSize; ++x) {
            const int c = board.GetCell(x, y);
            text += c == cellBlack ? 'X' : c == cellWhite ? 'O' : '.';
        }
        text += '\n';
    }
    return text;
}

// Whether two boards hold the same position, field by field.
inline bool SameBoard(const TBoard& a, const TBoard& b) {
    for (int y = 0; y < boardSize; ++y) {
        for (int x = 0; x < boardSize; ++x) {
            if (a.cells[y][x] != b.cells[y][x]) {
                return false;
            }
        }
    }
    return a.turn == b.turn && a.passes == b.passes && a.counts[0] == b.counts[0] &&
           a.counts[1] == b.counts[1] && a.counts[2] == b.counts[2];
}
