#pragma once

#include "engine/FastSearch.h"
#include "engine/Reversiutil.h"

// The bitboard form of a board.
inline TFastPosition ToFastPosition(const TBoard& board) {
    TFastPosition position;
    position.Black = position.White = 0;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const int cell = board.GetCell(x, y);
            if (cell == cellBlack) {
                position.Black |= FastBit(FastSquare(x, y));
            } else if (cell == cellWhite) {
                position.White |= FastBit(FastSquare(x, y));
            }
        }
    }
    position.BlackToMove = board.GetTurn() == cellBlack;
    position.Passes = board.passes;
    return position;
}
