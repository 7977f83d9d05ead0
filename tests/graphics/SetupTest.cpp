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

    // Index of the first call of `kind` in the device log, or the log's size.
    size_t FirstOf(TCallKind kind, size_t from = 0) const {
        for (size_t i = from; i < Log.Size(); ++i) {
            if (Log[i].Kind == kind) {
                return i;
            }
        }
        return Log.Size();
    }

    TRecordingLog Log{1 << 16};
    TRecordingDirect3D Direct3D{Log};
    TRecordingText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};
    TCountingJoysticks Joysticks;
    TCountingAudio Audio;
};

TEST_F(Setup, TheScreenIsSetUpInOrderWithItsParameters) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    const std::vector<TPresentCallKind> expected = {presentOpenDriver, presentSetDisplayMode,
                                                    presentCreateFlipChain, presentGetDirect3D,
                                                    presentCreateDepthBuffer};
    EXPECT_EQ(Presenter.Kinds(), expected);
    const std::vector<TPresentCall>& calls = Presenter.Calls();
    EXPECT_EQ(calls[1].A, 640u);
    EXPECT_EQ(calls[1].B, 480u);
    EXPECT_EQ(calls[1].C, 16u);
    EXPECT_EQ(calls[2].A, 1u);
    EXPECT_EQ(calls[4].A, 640u);
    EXPECT_EQ(calls[4].B, 480u);
    EXPECT_EQ(calls[4].C, 16u);
    EXPECT_EQ(calls[4].D, 1u); // hardware and a back buffer in video memory
    EXPECT_EQ(g_presenter, &Presenter);
    EXPECT_EQ(g_d3d, &Direct3D);
}

TEST_F(Setup, WithoutHardwareTheDepthBufferGoesToSystemMemory) {
    Direct3D.HardwarePresent = false;
    ASSERT_EQ(InitDevices(nullptr), 0);
    EXPECT_EQ(Presenter.Calls()[4].D, 0u);
}

TEST_F(Setup, ABackBufferOutsideVideoMemoryPutsTheDepthBufferInSystemMemory) {
    Presenter.VideoMemory = false;
    ASSERT_EQ(InitDevices(nullptr), 0);
    EXPECT_EQ(Presenter.Calls()[4].D, 0u);
}

TEST_F(Setup, TheDeviceViewportAndMaterialComeBeforeTheScene) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    ASSERT_GT(Log.Size(), 8u);
    EXPECT_EQ(Log[0].Kind, callCreateDevice);
    EXPECT_EQ(Log[0].Type, devHardware);
    const std::vector<TCallKind> kinds = Log.Kinds();
    const std::vector<TCallKind> start(kinds.begin() + 1, kinds.begin() + 8);
    const std::vector<TCallKind> expected = {
        callCreateViewport, callAddViewport, callSetCurrentViewport, callSetViewport2,
        callCreateMaterial, callGetHandle,   callCreateLight};
    EXPECT_EQ(start, expected);
    const D3DVIEWPORT2& vp = Log[4].Viewport();
    EXPECT_EQ(vp.dwSize, 44u);
    EXPECT_EQ(vp.dwX, 0u);
    EXPECT_EQ(vp.dwY, 0u);
    EXPECT_EQ(vp.dwWidth, 640u);
    EXPECT_EQ(vp.dwHeight, 480u);
    EXPECT_FLOAT_EQ(vp.dvClipX, -1.0f);
    EXPECT_FLOAT_EQ(vp.dvClipY, 0.75f);
    EXPECT_FLOAT_EQ(vp.dvClipWidth, 2.0f);
    EXPECT_FLOAT_EQ(vp.dvClipHeight, 1.5f);
    EXPECT_FLOAT_EQ(vp.dvMinZ, 0.0f);
    EXPECT_FLOAT_EQ(vp.dvMaxZ, 1.0f);
    EXPECT_EQ(g_materialHandle, Log[6].Value);
    EXPECT_NE(g_materialHandle, 0u);
    EXPECT_EQ(g_device->GetCurrentViewport(), g_viewport);
}

TEST_F(Setup, TheLightsAreTheFixedDirectionalAndTheMovingPointLight) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    const D3DLIGHT2& sun = g_lights[0]->D3DLight->GetLight();
    EXPECT_EQ(sun.dltType, D3DLIGHT_DIRECTIONAL);
    EXPECT_FLOAT_EQ(sun.dcvColor.r, 0.6f);
    EXPECT_FLOAT_EQ(sun.dcvColor.g, 0.6f);
    EXPECT_FLOAT_EQ(sun.dcvColor.b, 0.6f);
    EXPECT_FLOAT_EQ(sun.dvDirection.x, 1000.0f);
    EXPECT_FLOAT_EQ(sun.dvDirection.y, -1000.0f);
    EXPECT_FLOAT_EQ(sun.dvDirection.z, -1000.0f);
    EXPECT_EQ(sun.dwFlags, D3DLIGHT_ACTIVE);
    const D3DLIGHT2& lamp = g_lights[1]->D3DLight->GetLight();
    EXPECT_EQ(lamp.dltType, D3DLIGHT_POINT);
    EXPECT_FLOAT_EQ(lamp.dcvColor.r, 2.0f);
    EXPECT_FLOAT_EQ(lamp.dvPosition.z, 100.0f);
    EXPECT_FLOAT_EQ(lamp.dvRange, 400.0f);
    EXPECT_FLOAT_EQ(lamp.dvAttenuation0, 0.0f);
    EXPECT_FLOAT_EQ(lamp.dvAttenuation1, 0.0f);
    EXPECT_FLOAT_EQ(lamp.dvAttenuation2, 1.0f);
    EXPECT_EQ(g_viewport->GetLights().size(), 2u);
}

TEST_F(Setup, TheCameraSendsItsDefaultViewBeforeAnyModelExists) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    const size_t view = FirstOf(callSetTransform);
    ASSERT_LT(view, Log.Size());
    EXPECT_EQ(Log[view].Type, D3DTRANSFORMSTATE_VIEW);
    EXPECT_EQ(Log[view + 1].Type, D3DTRANSFORMSTATE_PROJECTION);
    EXPECT_GT(view, FirstOf(callSetLight)); // after the lights
    EXPECT_FLOAT_EQ(static_cast<float>(g_camera->Eye.Y.GetValue()), 2000.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(g_camera->Eye.Z.GetValue()), 2000.0f);
}

TEST_F(Setup, TheDiscsStandOnTheSquaresShowingTheRandPattern) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    const std::string pattern = ".....xxx....xx...xxxxx.x.x.xx.xxxx..xxx.x....x..xxx.x...x..xxx.x";
    int white = 0;
    for (int i = 0; i < kPieceCount; ++i) {
        TSolidPiece* piece = g_pieces[i];
        ASSERT_NE(piece, nullptr);
        EXPECT_TRUE(piece->Visible);
        EXPECT_DOUBLE_EQ(piece->Position.X.GetValue(), (i % 8 - 3.5) * 140.0);
        EXPECT_DOUBLE_EQ(piece->Position.Y.GetValue(), (i / 8 - 3.5) * 140.0);
        EXPECT_DOUBLE_EQ(piece->Position.Z.GetValue(), 10.0);
        EXPECT_DOUBLE_EQ(piece->Rotation.X.GetValue(), pattern[i] == 'x' ? 180.0 : 0.0)
            << "disc " << i;
        EXPECT_DOUBLE_EQ(piece->Rotation.Y.GetValue(), 0.0);
        EXPECT_DOUBLE_EQ(piece->Rotation.Z.GetValue(), 0.0);
        white += pattern[i] == 'x';
    }
    EXPECT_EQ(white, 32);
    EXPECT_DOUBLE_EQ(g_pieces[0]->Position.X.GetValue(), -490.0);
    EXPECT_DOUBLE_EQ(g_pieces[63]->Position.Y.GetValue(), 490.0);
    EXPECT_TRUE(g_boardModel->Visible);
    EXPECT_TRUE(g_pointer->Visible);
    EXPECT_EQ(g_boardModel->Device, g_device);
    EXPECT_EQ(g_pointer->Material, g_material);
}

TEST_F(Setup, RandIsTheUnseededRuntimeGenerator) {
    RuntimeSrand(1);
    EXPECT_EQ(RuntimeRand(), 346);
    EXPECT_EQ(RuntimeRand(), 130);
    EXPECT_EQ(RuntimeRand(), 10982);
}

TEST_F(Setup, TheSineTableIsFilledFirst) {
    g_sinTable[8] = 0.0;
    ASSERT_EQ(InitDevices(nullptr), 0);
    EXPECT_DOUBLE_EQ(g_sinTable[8], 1.0);
}

TEST_F(Setup, InputAndSoundStartAfterTheGraphics) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    EXPECT_EQ(Joysticks.Opens, 1);
    EXPECT_EQ(Audio.Opens, 1);
}

TEST_F(Setup, TheDeviceFallsBackToSoftware) {
    Direct3D.RefuseDevice[devHardware] = true;
    ASSERT_EQ(InitDevices(nullptr), 0);
    EXPECT_EQ(Log[0].Type, devHardware);
    EXPECT_EQ(Log[0].Target, nullptr);
    EXPECT_EQ(Log[1].Kind, callCreateDevice);
    EXPECT_EQ(Log[1].Type, devMMX);
    EXPECT_NE(Log[1].Target, nullptr);

    ReleaseDevices();
    Log.Clear();
    Direct3D.RefuseDevice[devMMX] = true;
    ASSERT_EQ(InitDevices(nullptr), 0);
    EXPECT_EQ(Log[2].Type, devRGB);
    EXPECT_EQ(g_device, Log[2].Target);
}

TEST_F(Setup, NoDeviceAtAllFailsWithOneLineAndStartsNothingElse) {
    Direct3D.RefuseDevice[devHardware] = Direct3D.RefuseDevice[devMMX] =
        Direct3D.RefuseDevice[devRGB] = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(InitDevices(nullptr), 1);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1);
    EXPECT_NE(error.find("3D device"), std::string::npos) << error;
    EXPECT_EQ(Log.CountOf(callCreateDevice), 3u);
    EXPECT_EQ(Log.CountOf(callCreateViewport), 0u);
    EXPECT_EQ(g_pieces[0], nullptr);
    EXPECT_EQ(g_camera, nullptr);
    EXPECT_EQ(Joysticks.Opens, 0);
    EXPECT_EQ(Audio.Opens, 0);
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
        ReleaseGraphics();
    }
}

TEST_F(Setup, ReleaseTakesEverythingDownOnceInOrder) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    const void* material = g_material;
    const void* viewport = g_viewport;
    const void* device = g_device;
    const void* sun = g_lights[0]->D3DLight.get();
    const void* lamp = g_lights[1]->D3DLight.get();
    Log.Clear();
    Presenter.ClearLog();
    ReleaseDevices();
    std::vector<const void*> released;
    for (const TRecordedCall& call : Log.GetCalls()) {
        if (call.Kind == callRelease) {
            released.push_back(call.Object);
        }
    }
    const std::vector<const void*> expected = {sun, lamp, material, viewport, device};
    EXPECT_EQ(released, expected);
    const std::vector<TPresentCallKind> screen = {presentReleaseDirect3D, presentReleaseDepthBuffer,
                                                  presentReleaseFlipChain, presentCloseDriver};
    EXPECT_EQ(Presenter.Kinds(), screen);
    EXPECT_EQ(g_device, nullptr);
    EXPECT_EQ(g_viewport, nullptr);
    EXPECT_EQ(g_material, nullptr);
    EXPECT_EQ(g_materialHandle, 0u);
    EXPECT_EQ(g_d3d, nullptr);
    EXPECT_EQ(g_presenter, nullptr);
    EXPECT_EQ(g_camera, nullptr);
    EXPECT_EQ(g_boardModel, nullptr);
    EXPECT_EQ(g_pointer, nullptr);
    EXPECT_EQ(g_lights[0], nullptr);
    EXPECT_EQ(g_pieces[63], nullptr);
    // A second release finds nothing to do.
    Presenter.ClearLog();
    ReleaseDevices();
    EXPECT_TRUE(Presenter.Calls().empty());
}

TEST_F(Setup, ReleaseAfterAFailedModeOnlyClosesTheDriver) {
    Presenter.FailAt(presentSetDisplayMode, DDERR_INVALIDMODE, "no such mode");
    testing::internal::CaptureStderr();
    EXPECT_EQ(InitDevices(nullptr), 1);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("no such mode"), std::string::npos) << error;
    Presenter.ClearLog();
    ReleaseDevices();
    EXPECT_EQ(Presenter.Kinds(), std::vector<TPresentCallKind>{presentCloseDriver});
}

TEST_F(Setup, WithoutAPresenterTheGraphicsFailCleanly) {
    SetDeviceSources({});
    testing::internal::CaptureStderr();
    EXPECT_EQ(InitDevices(nullptr), 1);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    ReleaseDevices();
    EXPECT_EQ(g_presenter, nullptr);
}

} // namespace
