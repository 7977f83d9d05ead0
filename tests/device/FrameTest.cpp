#include "device/Setdx.h"
#include "platform/RecordingDevice3D.h"
#include "platform/RecordingPresent.h"
#include "platform/RecordingText.h"

#include <gtest/gtest.h>

// The render-state steps that open every frame, and the flip that ends it, on the recording
// devices.

namespace {

TEST(Frame, EachFrameSetsItsStatesAndTheFogSettingAndFlipsOnce) {
    TRecordingLog log{1 << 16};
    TRecordingDirect3D direct3D{log};
    TRecordingText text;
    TRecordingPresenter presenter{&direct3D, &text};
    SetDeviceSources({&presenter, nullptr, nullptr});
    ASSERT_EQ(InitGraphics(nullptr), DD_OK);
    // The screen and the depth buffer cleared over the whole viewport, counter-clockwise faces
    // culled, smooth shading, and black linear fog from 700 to 1100 when any non-zero setting
    // asks for it, until a frame without.
    for (const int fog : {0, 1, -5, 0}) {
        SCOPED_TRACE(::testing::Message() << "fog " << fog);
        log.Clear();
        presenter.ClearLog();
        BeginFrame(fog);
        ASSERT_EQ(presenter.Kinds(), std::vector<TPresentCallKind>{presentColorFill});
        ASSERT_EQ(log.CountOf(callClear), 1u);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_ZENABLE), D3DSTATE_TRUE);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CCW);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_SHADEMODE), D3DSHADE_GOURAUD);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_FOGENABLE), fog != 0);
        EXPECT_TRUE(fog == 0 ||
                    (g_device->GetRenderState(D3DRENDERSTATE_FOGCOLOR) == 0 &&
                     g_device->GetLightState(D3DLIGHTSTATE_FOGMODE) == D3DFOG_LINEAR &&
                     D3DStateToFloat(g_device->GetLightState(D3DLIGHTSTATE_FOGSTART)) == 700.0f &&
                     D3DStateToFloat(g_device->GetLightState(D3DLIGHTSTATE_FOGEND)) == 1100.0f));
    }
    presenter.ClearLog();
    PresentFrame();
    EXPECT_EQ(presenter.Kinds(), std::vector<TPresentCallKind>{presentFlip});
    // Nothing happens outside the set-up.
    ReleaseGraphics();
    presenter.ClearLog();
    log.Clear();
    BeginFrame(1);
    PresentFrame();
    EXPECT_TRUE(presenter.Calls().empty());
    EXPECT_EQ(log.Size(), 0u);
    SetDeviceSources({});
}

} // namespace
