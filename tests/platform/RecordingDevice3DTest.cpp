#include "platform/recording/RecordingDevice3D.h"

#include <gtest/gtest.h>

// What the tests of the set-up, the scene and the screens read back from the recording device:
// one log of copies in call order, and the material a handle selects until it is released.
TEST(RecordingDevice3D, LogsCopiesInOrderAndKeepsWhatIsSelected) {
    TRecordingLog log;
    TRecordingDirect3D d3d{log};
    const auto device = d3d.CreateDevice(devHardware);
    auto material = d3d.CreateMaterial();
    const D3DMATERIALHANDLE handle = material->GetHandle(*device);
    log.Clear();
    D3DMATRIX m{};
    m._41 = 1.0f;
    device->SetTransform(D3DTRANSFORMSTATE_WORLD, m);
    m._41 = 99.0f;
    device->SetLightState(D3DLIGHTSTATE_MATERIAL, handle);
    ASSERT_EQ(log.Size(), 2u);
    EXPECT_FLOAT_EQ(log[0].Matrix()._41, 1.0f);
    EXPECT_EQ(device->GetCurrentMaterial(), material.get());
    material.reset();
    EXPECT_EQ(device->GetCurrentMaterial(), nullptr);
}
