#include "device/Setdx.h"
#include "platform/recording/RecordingDevice3D.h"
#include "platform/recording/RecordingPresent.h"
#include "platform/recording/RecordingText.h"

#include <gtest/gtest.h>

// Each frame clears the screen and the depth buffer once, with the depth test on, culls
// counter-clockwise faces, shades smoothly and fogs linearly from the fog start when any
// non-zero setting asks for it, until a frame without; the flip ends it. Outside the set-up
// nothing happens.
TEST(Frame, EachFrameSetsItsStatesAndTheFogSettingAndFlipsOnce) {
    TRecordingLog log{1 << 16};
    TRecordingDirect3D direct3D{log};
    TRecordingText text;
    TRecordingPresenter presenter{&direct3D, &text};
    SetDeviceSources({&presenter, nullptr, nullptr});
    ASSERT_EQ(InitGraphics(nullptr), DD_OK);
    for (const int fog : {0, 1, -5, 0}) {
        SCOPED_TRACE(::testing::Message() << "fog " << fog);
        log.Clear();
        presenter.ClearLog();
        BeginFrame(fog);
        ASSERT_EQ(presenter.Kinds(), std::vector<TPresentCallKind>{presentColorFill});
        ASSERT_EQ(log.CountOf(callClear), 1u);
        EXPECT_TRUE(g_device->GetRenderState(D3DRENDERSTATE_ZENABLE) == D3DSTATE_TRUE &&
                    g_device->GetRenderState(D3DRENDERSTATE_CULLMODE) == D3DCULL_CCW &&
                    g_device->GetRenderState(D3DRENDERSTATE_SHADEMODE) == D3DSHADE_GOURAUD);
        EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_FOGENABLE), fog != 0);
        EXPECT_TRUE(fog == 0 || g_device->GetLightState(D3DLIGHTSTATE_FOGMODE) == D3DFOG_LINEAR);
    }
    presenter.ClearLog();
    PresentFrame();
    EXPECT_EQ(presenter.Kinds(), std::vector<TPresentCallKind>{presentFlip});
    ReleaseGraphics();
    log.Clear();
    presenter.ClearLog();
    BeginFrame(1);
    PresentFrame();
    EXPECT_TRUE(presenter.Calls().empty() && log.Size() == 0);
    SetDeviceSources({});
}
