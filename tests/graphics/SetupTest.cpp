#include "device/Setdx.h"
#include "device/StepSine.h"
#include "platform/Joystick.h"
#include "platform/Mixer.h"
#include "platform/RecordingDevice3D.h"
#include "platform/RecordingPresent.h"
#include "platform/RecordingText.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// The device set-up and release walked through the recording presenter and device.

namespace {

class TCountingJoysticks final : public TJoystickSource {
  public:
    std::unique_ptr<TJoystick> OpenFirstAttached() override {
        ++Opens;
        return nullptr;
    }
    int Opens = 0;
};

class TCountingAudio final : public TAudioSource {
  public:
    std::unique_ptr<TMixer> Open(int) override {
        ++Opens;
        return nullptr;
    }
    int Opens = 0;
};

class Setup : public ::testing::Test {
  protected:
    void SetUp() override {
        Direct3D.HardwarePresent = true;
        SetDeviceSources({&Presenter, &Joysticks, &Audio});
        RuntimeSrand(1);
    }
    void TearDown() override {
        ReleaseDevices();
        SetDeviceSources({});
    }

    TRecordingLog Log{1 << 16};
    TRecordingDirect3D Direct3D{Log};
    TRecordingText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};
    TCountingJoysticks Joysticks;
    TCountingAudio Audio;
};

// The depth buffer goes to video memory only with hardware and a back buffer there.
TEST_F(Setup, TheScreenIsSetUpWithTheDepthBufferWhereTheBackBufferIs) {
    for (const bool hardware : {true, false}) {
        for (const bool video : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "hardware " << hardware << " video " << video);
            Direct3D.HardwarePresent = hardware;
            Presenter.VideoMemory = video;
            Presenter.ClearLog();
            ASSERT_EQ(InitDevices(nullptr), 0);
            ASSERT_EQ(Presenter.Kinds().back(), presentCreateDepthBuffer);
            EXPECT_EQ(Presenter.Calls().back().D, hardware && video ? 1u : 0u);
            EXPECT_EQ(Joysticks.Opens + Audio.Opens, 2); // input and sound after the graphics
            ReleaseDevices();
            Joysticks.Opens = Audio.Opens = 0;
        }
    }
}

// The fixed sun, the moving lamp, the camera and the 64 discs on their squares showing the
// runtime generator's pattern from seed 1.
TEST_F(Setup, TheSceneStartsWithItsLightsCameraAndTheRandPattern) {
    g_sinTable[8] = 0.0;
    ASSERT_EQ(InitDevices(nullptr), 0);
    EXPECT_DOUBLE_EQ(g_sinTable[8], 1.0); // the sine table is filled
    EXPECT_EQ(g_viewport->GetLights().size(), 2u);
    const D3DLIGHT2& sun = g_lights[0]->D3DLight->GetLight();
    EXPECT_EQ(sun.dltType, D3DLIGHT_DIRECTIONAL);
    EXPECT_FLOAT_EQ(sun.dvDirection.y, -1000.0f);
    const D3DLIGHT2& lamp = g_lights[1]->D3DLight->GetLight();
    EXPECT_EQ(lamp.dltType, D3DLIGHT_POINT);
    EXPECT_FLOAT_EQ(lamp.dvPosition.z, 100.0f);
    EXPECT_FLOAT_EQ(lamp.dvAttenuation1, 0.0f);
    EXPECT_FLOAT_EQ(lamp.dvAttenuation2, 1.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(g_camera->Eye.Z.GetValue()), 2000.0f);
    const std::string pattern = ".....xxx....xx...xxxxx.x.x.xx.xxxx..xxx.x....x..xxx.x...x..xxx.x";
    for (int i = 0; i < kPieceCount; ++i) {
        SCOPED_TRACE(::testing::Message() << "disc " << i);
        ASSERT_NE(g_pieces[i], nullptr);
        EXPECT_TRUE(g_pieces[i]->Visible);
        EXPECT_DOUBLE_EQ(g_pieces[i]->Position.X.GetValue(), (i % 8 - 3.5) * 140.0);
        EXPECT_DOUBLE_EQ(g_pieces[i]->Position.Y.GetValue(), (i / 8 - 3.5) * 140.0);
        EXPECT_DOUBLE_EQ(g_pieces[i]->Rotation.X.GetValue(), pattern[i] == 'x' ? 180.0 : 0.0);
    }
}

// Hardware, then MMX, then RGB; with none, one line on standard error and nothing else starts.
TEST_F(Setup, TheDeviceFallsBackToSoftwareAndNoDeviceStartsNothing) {
    for (const TDeviceKind refused : {devHardware, devMMX}) {
        Direct3D.RefuseDevice[refused] = true;
        Log.Clear();
        ASSERT_EQ(InitDevices(nullptr), 0);
        EXPECT_EQ(g_device, Log[Log.CountOf(callCreateDevice) - 1].Target);
        EXPECT_EQ(Log.CountOf(callCreateDevice), refused == devHardware ? 2u : 3u);
        ReleaseDevices();
    }
    Direct3D.RefuseDevice[devRGB] = true;
    Joysticks.Opens = Audio.Opens = 0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(InitDevices(nullptr), 1);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1);
    EXPECT_EQ(g_pieces[0], nullptr);
    EXPECT_EQ(g_camera, nullptr);
    EXPECT_EQ(Joysticks.Opens + Audio.Opens, 0);
}

TEST_F(Setup, EachScreenStepReportsItsFailure) {
    struct TCase {
        TPresentCallKind Step;
        HRESULT Expected;
        size_t CallsMade;
    };
    for (const TCase& c :
         {TCase{presentOpenDriver, 1, 1}, TCase{presentSetDisplayMode, DDERR_INVALIDMODE, 2},
          TCase{presentCreateFlipChain, DDERR_INVALIDMODE, 3},
          TCase{presentGetDirect3D, DDERR_NO3D, 4}}) {
        Presenter.ClearLog();
        Presenter.FailAt(c.Step, c.Step == presentGetDirect3D ? DDERR_GENERIC : DDERR_INVALIDMODE,
                         "the test says no");
        EXPECT_EQ(InitGraphics(nullptr), c.Expected) << "step " << int(c.Step);
        EXPECT_EQ(Presenter.Calls().size(), c.CallsMade);
        EXPECT_NE(std::string(GraphicsFailure()), "");
        EXPECT_EQ(g_device, nullptr);
        Presenter.ClearLog();
        ReleaseGraphics();
        if (c.Step == presentSetDisplayMode) { // only the driver was opened
            EXPECT_EQ(Presenter.Kinds(), std::vector<TPresentCallKind>{presentCloseDriver});
        }
    }
    SetDeviceSources({});
    testing::internal::CaptureStderr();
    EXPECT_EQ(InitDevices(nullptr), 1); // no presenter at all
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST_F(Setup, ReleaseTakesEverythingDownOnce) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    const size_t created = Log.CountOf(callCreateDevice) + Log.CountOf(callCreateViewport) +
                           Log.CountOf(callCreateMaterial) + Log.CountOf(callCreateLight);
    Log.Clear();
    ReleaseDevices();
    EXPECT_EQ(Log.CountOf(callRelease), created);
    EXPECT_EQ(Presenter.Kinds().back(), presentCloseDriver);
    for (const void* global :
         {static_cast<const void*>(g_device), static_cast<const void*>(g_d3d),
          static_cast<const void*>(g_presenter), static_cast<const void*>(g_camera),
          static_cast<const void*>(g_boardModel), static_cast<const void*>(g_lights[0]),
          static_cast<const void*>(g_pieces[63])}) {
        EXPECT_EQ(global, nullptr);
    }
    Presenter.ClearLog();
    ReleaseDevices();
    EXPECT_TRUE(Presenter.Calls().empty());
}

} // namespace
