#include "device/Setdx.h"
#include "platform/RecordingDevice3D.h"
#include "platform/RecordingPresent.h"
#include "platform/RecordingText.h"

#include <gtest/gtest.h>

// The render-state steps that open every frame, and the flip that ends it.

namespace {

class Frame : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDeviceSources({&Presenter, nullptr, nullptr});
        ASSERT_EQ(InitGraphics(nullptr), DD_OK);
        Log.Clear();
        Presenter.ClearLog();
    }
    void TearDown() override {
        ReleaseGraphics();
        SetDeviceSources({});
    }

    TRecordingLog Log{1 << 16};
    TRecordingDirect3D Direct3D{Log};
    TRecordingText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};
};

// Each frame clears the screen and the depth buffer over the whole viewport, culls
// counter-clockwise faces, shades smoothly, and fogs black and linear from 700 to 1100 when any
// non-zero setting asks for it, until a frame without.
TEST_F(Frame, EachFrameSetsItsStatesAndTheFogSetting) {
    for (const int fog : {0, 1, -5, 0}) {
        SCOPED_TRACE(::testing::Message() << "fog " << fog);
        Log.Clear();
        Presenter.ClearLog();
        BeginFrame(fog);
        ASSERT_EQ(Presenter.Kinds(), std::vector<TPresentCallKind>{presentColorFill});
        ASSERT_EQ(Log.CountOf(callClear), 1u);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_ZENABLE), D3DSTATE_TRUE);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CCW);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_SHADEMODE), D3DSHADE_GOURAUD);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_FOGENABLE), fog != 0);
        if (fog != 0) {
            EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_FOGCOLOR), 0u);
            EXPECT_EQ(g_device->GetLightState(D3DLIGHTSTATE_FOGMODE), D3DFOG_LINEAR);
            EXPECT_EQ(D3DStateToFloat(g_device->GetLightState(D3DLIGHTSTATE_FOGSTART)), 700.0f);
            EXPECT_EQ(D3DStateToFloat(g_device->GetLightState(D3DLIGHTSTATE_FOGEND)), 1100.0f);
        }
    }
    const size_t capacity = Log.Capacity(); // recording frames allocates no new log storage
    for (int i = 0; i < 100; ++i) {
        BeginFrame(i % 2);
    }
    EXPECT_EQ(Log.Capacity(), capacity);
}

TEST_F(Frame, PresentFlipsOnceAndNothingHappensOutsideTheSetUp) {
    PresentFrame();
    EXPECT_EQ(Presenter.Kinds(), std::vector<TPresentCallKind>{presentFlip});
    ReleaseGraphics();
    Presenter.ClearLog();
    Log.Clear();
    BeginFrame(1);
    PresentFrame();
    EXPECT_TRUE(Presenter.Calls().empty());
    EXPECT_EQ(Log.Size(), 0u);
}

} // namespace
