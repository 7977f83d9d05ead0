#pragma once

#include <cstdint>

// Where the board's squares and discs stand in the world, for the set-up, the models, the
// animation and the screens. World frame: +Z up, the board in the plane z = 0, square
// (column, row) centred on (CellToWorld(column), CellToWorld(row)).

inline constexpr int kBoardSide = 8;                        // squares along each edge
inline constexpr int kPieceCount = kBoardSide * kBoardSide; // one disc model per square
inline constexpr double kSquarePitch = 140.0;               // world units between square centres
inline constexpr double kRestingDiscZ = 10.0;    // Position.Z of a disc lying on the board
inline constexpr double kWhiteUpDegrees = 180.0; // Rotation.X showing the white face

// The ambient light of the whole scene, during play and on the title screens.
inline constexpr uint32_t kSceneAmbient = 0x00FF8080;

// Centre of column or row `cell` (0..7) along X or Y.
constexpr double CellToWorld(int cell) {
    return (cell - (kBoardSide - 1) / 2.0) * kSquarePitch;
}

// Index of the disc model of square (column, row): row by row.
constexpr int PieceIndex(int column, int row) {
    return row * kBoardSide + column;
}
