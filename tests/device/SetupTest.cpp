#include "device/Setdx.h"
#include "platform/recording/RecordingDevice3D.h"
#include "platform/recording/RecordingPresent.h"
#include "platform/recording/RecordingText.h"
#include "scene/Solidpiece.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Setup : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDeviceSources({&Presenter, nullptr, nullptr});
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
};

// The discs in the pattern of seed 1, all released at the end; the devices tried in turn.
TEST_F(Setup, TheSceneStartsWithItsLightsCameraAndPatternAndGoesDownOnce) {
    ASSERT_EQ(InitDevices(nullptr), 0);
    EXPECT_EQ(g_viewport->GetLights().size(), 2u);
    const std::string pattern = ".....xxx....xx...xxxxx.x.x.xx.xxxx..xxx.x....x..xxx.x...x..xxx.x";
    for (int i = 0; i < kPieceCount; ++i) {
        const TSolidPiece& piece = *g_pieces[i];
        const int row = i / 8;
        EXPECT_TRUE(piece.Visible && piece.Position.X.GetValue() == (i % 8 - 3.5) * 140.0 &&
                    piece.Position.Y.GetValue() == (row - 3.5) * 140.0 &&
                    piece.Rotation.X.GetValue() == (pattern[i] == 'x' ? 180.0 : 0.0))
            << "disc " << i;
    }
    const size_t created = Log.CountOf(callCreateDevice) + Log.CountOf(callCreateViewport) +
                           Log.CountOf(callCreateMaterial) + Log.CountOf(callCreateLight);
    Log.Clear();
    ReleaseDevices();
    EXPECT_EQ(Log.CountOf(callRelease), created);
    EXPECT_EQ(Presenter.Kinds().back(), presentCloseDriver);
    EXPECT_TRUE(!g_device && !g_presenter && !g_camera && !g_lights[0] && !g_pieces[63]);

    for (const TDeviceKind refused : {devHardware, devMMX}) {
        Direct3D.RefuseDevice[refused] = true;
        Log.Clear();
        ASSERT_EQ(InitDevices(nullptr), 0);
        const size_t tried = refused == devHardware ? 2u : 3u;
        ASSERT_EQ(Log.CountOf(callCreateDevice), tried);
        EXPECT_EQ(g_device, Log[tried - 1].Target);
        ReleaseDevices();
    }
    Direct3D.RefuseDevice[devRGB] = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(InitDevices(nullptr), 1);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(!g_pieces[0] && !g_camera);
}

// Each frame's states, fog for any non-zero setting, one flip; outside the set-up nothing.
TEST_F(Setup, EachFrameSetsItsStatesAndTheFogSettingAndFlipsOnce) {
    ASSERT_EQ(InitGraphics(nullptr), DD_OK);
    for (const int fog : {0, 1, -5, 0}) {
        SCOPED_TRACE(::testing::Message() << "fog " << fog);
        Log.Clear();
        Presenter.ClearLog();
        BeginFrame(fog);
        ASSERT_EQ(Presenter.Kinds(), std::vector<TPresentCallKind>{presentColorFill});
        ASSERT_EQ(Log.CountOf(callClear), 1u);
        EXPECT_TRUE(g_device->GetRenderState(D3DRENDERSTATE_ZENABLE) == D3DSTATE_TRUE &&
                    g_device->GetRenderState(D3DRENDERSTATE_CULLMODE) == D3DCULL_CCW &&
                    g_device->GetRenderState(D3DRENDERSTATE_SHADEMODE) == D3DSHADE_GOURAUD);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_FOGENABLE), fog != 0);
        EXPECT_TRUE(fog == 0 || g_device->GetLightState(D3DLIGHTSTATE_FOGMODE) == D3DFOG_LINEAR);
    }
    Presenter.ClearLog();
    PresentFrame();
    EXPECT_EQ(Presenter.Kinds(), std::vector<TPresentCallKind>{presentFlip});
    ReleaseGraphics();
    Log.Clear();
    Presenter.ClearLog();
    BeginFrame(1);
    PresentFrame();
    EXPECT_TRUE(Presenter.Calls().empty() && Log.Size() == 0);
}

} // namespace
