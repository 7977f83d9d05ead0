#pragma once

#include "scene/Solid.h"

// The playing board: 64 square tiles in the board colour on a dark base plate whose edges show
// between the tiles as grid lines. Tiles lie in z = 0 facing +Z; the tile of column c, row r
// (0..7) is centred on (CellToWorld(c), CellToWorld(r)), 0.94 of the pitch wide.
// The plate lies 1 unit below. Mesh and materials are shared by all boards; the first board
// builds them in grey (180, 180, 180) and SetColor rebuilds them in another colour.
class TSolidBoard : public TSolid {
  public:
    TSolidBoard(TDevice3D* device, TDeviceMaterial* material);

    bool Render() override;
    // Colours the tiles (R, G, B in 0..255, not range-checked) and rebuilds the shared mesh.
    // Uses no member of the instance. Returns true.
    virtual bool SetColor(int R, int G, int B);
};
