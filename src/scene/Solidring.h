#pragma once

#include "scene/Solid.h"

// The mark of the last disc placed: a flat red ring lying 2 units above the board plane round
// the disc's edge (a resting disc has radius 50), inside the square's tile, facing +Z. Unlike
// the legal-move mark (a small pale gold dot on an empty square) it shows beside a disc. The
// game moves it to the square and draws it once. The mesh is shared and built by the first ring.
class TSolidRing : public TSolid {
  public:
    TSolidRing(TDevice3D* device, TDeviceMaterial* material);

    bool Render() override;

    static constexpr float kInnerRadius = 53.0f;
    static constexpr float kOuterRadius = 63.0f;
    static constexpr float kHeight = 2.0f;
};
