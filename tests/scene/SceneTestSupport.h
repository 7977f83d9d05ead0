#pragma once

#include "platform/recording/RecordingDevice3D.h"
#include "scene/Transmat.h"

#include <gtest/gtest.h>

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
