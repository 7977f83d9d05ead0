#pragma once

#include "platform/d3d/Device3D.h"
#include "scene/Movement.h"
#include "scene/Transmat.h"

// The one viewpoint of the scene. Eye and LookAt are animated values that the screens fly by
// giving them targets and times; Update, once per frame before any model draws, builds the view
// from their current values (narrowed to float) and sends the view and projection matrices to
// the device. The projection has no aspect term: the viewport's 4:3 clip window supplies it.
// The device is not owned and must outlive the camera.
class TCamera {
  public:
    static constexpr float kDefaultNear = 400.0f;
    static constexpr float kDefaultFar = 4000.0f;
    // Twice atan(0.3): the tangent of the half angle is 0.3, about 33.4 degrees in all.
    static const float DefaultFov;

    // Starts at eye (0, 2000, 2000) looking at the board's centre with +Z up, and applies the
    // view and projection to the device at once.
    explicit TCamera(TDevice3D* device);
    virtual ~TCamera() = default;
    TCamera(const TCamera&) = delete;
    TCamera& operator=(const TCamera&) = delete;

    // Jumps Eye and LookAt (cancelling their schedules) and recomputes View; sends nothing.
    void SetView(const TVector& eye, const TVector& lookAt, const TVector& up, float roll);
    // Stores the values and recomputes Projection; sends nothing.
    void SetProjection(float nearZ, float farZ, float fov);
    void Update();

    TDevice3D* Device;
    TVector Up{0.0f, 0.0f, 1.0f};
    float Roll = 0.0f; // radians about the world Z axis
    float Near = 0.0f;
    float Far = 0.0f;
    float Fov = 0.0f; // radians
    TMovement3D Eye;
    TMovement3D LookAt;
    TMatrix View = MatrixIdentity();
    TMatrix Projection = MatrixIdentity();
};

// The point of the board's plane z = 0 that shows at (clipX, clipY), the x/w and y/w that a
// world point gets through `view` x `projection`, taken between the near and the far plane.
// False when that line of sight meets the plane nowhere in between (it runs parallel to it, or
// the plane lies behind the near plane or beyond the far one): nothing of the plane shows there.
bool ClipPointOnGround(const TMatrix& view, const TMatrix& projection, float clipX, float clipY,
                       TVector& ground);
