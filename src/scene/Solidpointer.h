#pragma once

#include "scene/Solid.h"

// The pointer over the selected square: a flat yellow triangle in the model's XZ plane with its
// tip at the origin and its 50-unit upper edge 100 units above, drawn as two triangles facing
// +Y and -Y so that it shows from either side as it spins about Z. The mesh is shared and
// built by the first pointer.
class TSolidPointer : public TSolid {
  public:
    TSolidPointer(TDevice3D* device, TDeviceMaterial* material);

    bool Render() override;
};
