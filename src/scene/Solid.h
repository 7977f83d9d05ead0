#pragma once

#include "platform/d3d/Device3D.h"
#include "scene/Movement.h"

// The base of every model of the scene (board, discs, pointer). A model draws with a device and
// colours itself through the one material shared by all models, which must be the device's
// current material (selected with SetLightState(D3DLIGHTSTATE_MATERIAL, handle)): each batch
// of a model sets its colours on that material and then draws.
//
// World frame: +Z up, the board in the plane z = 0. Position is in world units; Rotation holds
// the angles about X, Y and Z in degrees, applied in that order (X first), before the move to
// Position.
//
// Device and Material are not owned and must outlive the model. Each kind keeps its mesh and
// material records in static storage of its own, built by its first instance and shared by all.
// Every model's material reflects a little ambient light, some specular and emits nothing.
class TSolid {
  public:
    TSolid(TDevice3D* device, TDeviceMaterial* material);
    virtual ~TSolid() = default;
    TSolid(const TSolid&) = delete;
    TSolid& operator=(const TSolid&) = delete;

    // Sets the world transform and reports whether the model is to be drawn; a hidden model
    // reads no value and makes no device call. Each kind overrides it, calls this first and
    // draws only when it returned true, bracketing its drawing in a scene of its own.
    virtual bool Render();

    TDevice3D* Device;
    TDeviceMaterial* Material;
    bool Visible = false;
    TMovement3D Position;
    TMovement3D Rotation;
};

// A model's material of colour `diffuse` and grey specular level `specular`.
D3DMATERIAL ModelMaterial(D3DCOLORVALUE diffuse, float specular);
