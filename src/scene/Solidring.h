#pragma once

#include "scene/Solid.h"

// A flat ring lying 2 units above the board plane round a disc's edge (a resting disc has
// radius 50), inside the square's tile, facing +Z: in red, the mark of the last disc placed;
// in green, the analysis's mark of the move the strongest search prefers. Unlike the legal-move
// mark (a small pale gold dot on an empty square) it shows beside a disc. The game moves it to
// the square and draws it once. The mesh is shared and built by the first ring.
class TSolidRing : public TSolid {
  public:
    // A strong red: no other model is red, and it reads against both disc colours and every
    // board colour.
    static constexpr D3DCOLORVALUE kLastMoveColour{0.95f, 0.15f, 0.1f, 0.0f};
    // A clear green, apart from the red ring, the gold marks and the yellow pointer.
    static constexpr D3DCOLORVALUE kPreferredColour{0.15f, 0.9f, 0.25f, 0.0f};

    TSolidRing(TDevice3D* device, TDeviceMaterial* material,
               D3DCOLORVALUE colour = kLastMoveColour);

    bool Render() override;

    static constexpr float kInnerRadius = 53.0f;
    static constexpr float kOuterRadius = 63.0f;
    static constexpr float kHeight = 2.0f;

  private:
    D3DMATERIAL m_material;
};
