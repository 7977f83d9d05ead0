#pragma once

#include "platform/d3d/Device3D.h"
#include "scene/Movement.h"
#include "scene/Transmat.h"

#include <memory>

// One device light whose position and direction are animated values. The light keeps its full
// description in Desc and sends it to the device on the set-up calls and on Update, which
// first copies the current animated position and direction into it; between updates the
// device keeps what it was last sent.
//
// Calling order: construct; SetDirectionalLight or SetPointLight (each replaces the whole
// description); optionally SetColor; Update. Then animate Position or Direction and call Update
// once per frame for a light that moves.
//
// The device light is owned and released with this object, which also takes it off its
// viewport; the factory and the viewport are not owned and must outlive the light. If the
// device refused to create the light, every call still keeps Desc but sends nothing.
class TLight {
  public:
    TLight(TDirect3D* d3d, TDeviceViewport* viewport);
    virtual ~TLight() = default;
    TLight(const TLight&) = delete;
    TLight& operator=(const TLight&) = delete;

    // The direction (not normalised) is the way the light travels.
    void SetDirectionalLight(const D3DCOLORVALUE& color, const TVector& direction);
    // Light falls off as the square of (range - distance) / range and ends at `range`.
    void SetPointLight(const D3DCOLORVALUE& color, const TVector& position, float range);
    // Sets the colour in Desc only; components above 1.0 are passed on unchanged.
    void SetColor(float r, float g, float b, float a);
    // Jumps the animated position (cancelling its schedules); nothing is sent until Update.
    void SetPosition(const TVector& position);
    void Update();

    std::unique_ptr<TDeviceLight> D3DLight;
    TDirect3D* D3D;
    TDeviceViewport* Viewport;
    D3DLIGHT2 Desc{};
    TMovement3D Position;
    TMovement3D Direction;

  private:
    void Send();
};
