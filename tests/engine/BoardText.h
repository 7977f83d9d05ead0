#pragma once

#include "engine/Reversiutil.h"

#include <array>
#include <cstdint>
#include <string>

// Positions written as eight rows of text, top row first: 'X' black, 'O' white, '.' empty.
// Every cell goes through SetCell, so the counters stay true.
inline TBoard BoardFromRows(const std::array<const char*, 8>& rows, int turn = cellBlack) {
    TBoard board;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const char c = rows[y][x];
            board.SetCell(x, y, c == 'X' ? cellBlack : c == 'O' ? cellWhite : cellEmpty);
        }
    }
    board.turn = turn;
    return board;
}

inline std::string RowsOf(const TBoard& board) {
    std::string text;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const int c = board.GetCell(x, y);
            text += c == cellBlack ? 'X' : c == cellWhite ? 'O' : '.';
        }
        text += '\n';
    }
    return text;
}

// Whether two boards hold the same position, field by field.
inline bool SameBoard(const TBoard& a, const TBoard& b) {
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            if (a.cells[y][x] != b.cells[y][x]) {
                return false;
            }
        }
    }
    return a.turn == b.turn && a.passes == b.passes && a.counts[0] == b.counts[0] &&
           a.counts[1] == b.counts[1] && a.counts[2] == b.counts[2];
}

// One step of a pseudo-random game: a move picked among the legal ones by the seed (which
// advances), or a pass when there is none.
inline void PlayRandomMove(TBoard& board, uint32_t& seed) {
    int moves[64][2];
    int n = 0;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            if (board.CanPlace(x, y)) {
                moves[n][0] = x;
                moves[n][1] = y;
                ++n;
            }
        }
    }
    if (n == 0) {
        board.Pass();
        return;
    }
    seed = seed * 1664525u + 1013904223u;
    const int pick = static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
    board.Place(moves[pick][0], moves[pick][1]);
}
