#include "platform/RecordingDevice3D.h"

#include <gtest/gtest.h>

// What the tests of the set-up, the scene and the screens read back from the recording device.

namespace {

// One log of copies, in call order across all objects; a material selected by its handle
// until it is released; a light listed by its viewport until it goes.
TEST(RecordingDevice3D, LogsCopiesInOrderAndKeepsWhatIsSelected) {
    TRecordingLog log;
    TRecordingDirect3D d3d{log};
    const auto device = d3d.CreateDevice(devHardware);
    const auto viewport = d3d.CreateViewport();
    auto material = d3d.CreateMaterial();
    auto light = d3d.CreateLight();
    const D3DMATERIALHANDLE handle = material->GetHandle(*device);
    log.Clear();
    D3DMATRIX m{};
    m._41 = 1.0f;
    device->SetTransform(D3DTRANSFORMSTATE_WORLD, m);
    m._41 = 99.0f;
    device->SetLightState(D3DLIGHTSTATE_MATERIAL, handle);
    viewport->AddLight(*light);
    EXPECT_EQ(log.Kinds(),
              (std::vector<TCallKind>{callSetTransform, callSetLightState, callAddLight}));
    EXPECT_EQ(log[2].Object, viewport.get());
    EXPECT_FLOAT_EQ(log[0].Matrix()._41, 1.0f);
    EXPECT_EQ(device->GetCurrentMaterial(), material.get());
    EXPECT_EQ(viewport->GetLights().size(), 1u);
    material.reset();
    light.reset();
    EXPECT_EQ(device->GetCurrentMaterial(), nullptr);
    EXPECT_TRUE(viewport->GetLights().empty());
}

} // namespace
