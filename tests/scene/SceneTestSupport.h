#pragma once

#include "platform/RecordingDevice3D.h"
#include "scene/Transmat.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

// A recording device with the shared material selected, as the screens leave it.
struct TSceneFixture : ::testing::Test {
    TRecordingLog log;
    TRecordingDirect3D d3d{log};
    std::unique_ptr<TDevice3D> device = d3d.CreateDevice(devHardware);
    std::unique_ptr<TDeviceMaterial> material = d3d.CreateMaterial();

    TSceneFixture() {
        device->SetLightState(D3DLIGHTSTATE_MATERIAL, material->GetHandle(*device));
        log.Clear();
    }

    std::vector<const TRecordedCall*> CallsOf(TCallKind kind) const {
        std::vector<const TRecordedCall*> calls;
        for (const TRecordedCall& call : log.GetCalls()) {
            if (call.Kind == kind) {
                calls.push_back(&call);
            }
        }
        return calls;
    }
};

inline TVector Transform(const TVector& p, const TMatrix& m) {
    const float w = p.x * m._14 + p.y * m._24 + p.z * m._34 + m._44;
    return {(p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41) / w,
            (p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42) / w,
            (p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43) / w};
}

inline void ExpectNear(const TVector& actual, const TVector& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The triangles a primitive makes, with the device's vertex order (strips alternate so that
// every triangle keeps the winding of the first).
inline std::vector<std::array<D3DVERTEX, 3>> Triangles(const TRecordedCall& draw) {
    std::vector<std::array<D3DVERTEX, 3>> triangles;
    const D3DVERTEX* v = draw.Vertices;
    for (uint32_t k = 0; k + 2 < draw.Count; ++k) {
        if (draw.Type == D3DPT_TRIANGLELIST) {
            if (k % 3 == 0) {
                triangles.push_back({v[k], v[k + 1], v[k + 2]});
            }
        } else if (draw.Type == D3DPT_TRIANGLEFAN) {
            triangles.push_back({v[0], v[k + 1], v[k + 2]});
        } else if (k % 2 == 0) {
            triangles.push_back({v[k], v[k + 1], v[k + 2]});
        } else {
            triangles.push_back({v[k], v[k + 2], v[k + 1]});
        }
    }
    return triangles;
}

// Whether a triangle is a front face seen from the side its normals point to: the device
// culls triangles that run counter-clockwise on screen, so front faces run clockwise, which in
// this left-handed frame makes (v1 - v0) x (v2 - v0) point towards the viewer.
inline bool FacesAlongItsNormals(const std::array<D3DVERTEX, 3>& t) {
    const float ax = t[1].x - t[0].x, ay = t[1].y - t[0].y, az = t[1].z - t[0].z;
    const float bx = t[2].x - t[0].x, by = t[2].y - t[0].y, bz = t[2].z - t[0].z;
    const float cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
    for (const D3DVERTEX& v : t) {
        if (cx * v.nx + cy * v.ny + cz * v.nz <= 0.0f) {
            return false;
        }
    }
    return true;
}
