#pragma once

#include "scene/Solid.h"

// One disc: a flat cylinder of radius 50 and thickness 20 about the model origin, black on the
// +Z half and white on the -Z half. Rotation.X = 0 shows the black face up, 180 the white one;
// a disc resting on the board has Position.Z = 10. The 104-vertex mesh and the two materials
// are shared by all discs and built by the first one.
class TSolidPiece : public TSolid {
  public:
    TSolidPiece(TDevice3D* device, TDeviceMaterial* material);

    bool Render() override;
};
