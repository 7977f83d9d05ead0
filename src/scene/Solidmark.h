#pragma once

#include "scene/Solid.h"

// The mark on a square where the side to move may place: a small flat disc of radius 20 lying
// 2 units above the board plane (clear of the tiles in the depth buffer, well under a disc),
// facing +Z. One model serves every marked square: the game moves it and draws it once per
// square. The mesh is shared and built by the first mark.
class TSolidMark : public TSolid {
  public:
    TSolidMark(TDevice3D* device, TDeviceMaterial* material);

    bool Render() override;

    static constexpr float kRadius = 20.0f;
    static constexpr float kHeight = 2.0f;
};
