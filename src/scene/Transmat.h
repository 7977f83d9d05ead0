#pragma once

#include "platform/d3d/D3DTypes.h"

// 4x4 matrix arithmetic of the scene. Matrices are row-major with row vectors: a point is the
// row (x, y, z, 1) times the matrix, translation sits in row 3, and in A x B the transform A
// acts first. TMatrix is the device's own matrix record, so every result goes to
// TDevice3D::SetTransform as it stands; element (r, c) is m[r][c].
// Angles are in radians; sines and cosines are taken in double precision and stored as floats.
// Every function returns a new matrix and only reads its arguments.

using TMatrix = D3DMATRIX;
using TVector = D3DVECTOR;

TMatrix MatrixIdentity();
TMatrix MatrixZero();
TMatrix MatrixMultiply(const TMatrix& a, const TMatrix& b);
TMatrix MatrixTranslate(float x, float y, float z);
// Positive angles turn Y towards Z (about X), Z towards X (about Y), X towards Y (about Z).
TMatrix MatrixRotateX(float angle);
TMatrix MatrixRotateY(float angle);
TMatrix MatrixRotateZ(float angle);
// Look-at view from `eye` towards `at` with `up` as the vertical; a non-zero `angle` first turns
// the world about its Z axis by -angle. Needs eye != at and up not parallel to at - eye.
TMatrix MatrixView(const TVector& eye, const TVector& at, const TVector& up, float angle);
// Perspective projection with equal horizontal and vertical scale cos(fov/2) (the viewport's
// clip window supplies the aspect ratio): depth `nearZ` maps to 0 and `farZ` to 1 after the
// division by w. Needs nearZ != farZ and farZ != 0.
TMatrix MatrixProjection(float nearZ, float farZ, float fov);
// The inverse of `m`, found in double precision; false (and `inverse` untouched) when `m` has
// no inverse.
bool MatrixInverse(const TMatrix& m, TMatrix& inverse);
