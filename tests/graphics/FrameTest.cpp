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

    struct TState {
        TCallKind Kind;
        uint32_t Type;
        uint32_t Value;
    };
    std::vector<TState> States() const {
        std::vector<TState> states;
        for (const TRecordedCall& call : Log.GetCalls()) {
            states.push_back({call.Kind, call.Type, call.Value});
        }
        return states;
    }

    TRecordingLog Log{1 << 16};
    TRecordingDirect3D Direct3D{Log};
    TRecordingText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};
};

void ExpectState(const TRecordedCall& call, TCallKind kind, uint32_t type, uint32_t value) {
    EXPECT_EQ(call.Kind, kind);
    EXPECT_EQ(call.Type, type);
    EXPECT_EQ(call.Value, value);
}

TEST_F(Frame, WithoutFogTheFrameOpensWithFiveSteps) {
    BeginFrame(0);
    ASSERT_EQ(Presenter.Kinds(), std::vector<TPresentCallKind>{presentColorFill});
    EXPECT_EQ(Presenter.Calls()[0].A, 0u);
    ASSERT_EQ(Log.Size(), 5u);
    ExpectState(Log[0], callSetRenderState, D3DRENDERSTATE_ZENABLE, D3DSTATE_TRUE);
    EXPECT_EQ(Log[1].Kind, callClear);
    EXPECT_EQ(Log[1].Object, g_viewport);
    EXPECT_EQ(Log[1].Count, 1u);
    EXPECT_EQ(Log[1].Flags, D3DCLEAR_ZBUFFER);
    EXPECT_EQ(Log[1].Rect().x1, 0);
    EXPECT_EQ(Log[1].Rect().y1, 0);
    EXPECT_EQ(Log[1].Rect().x2, 640);
    EXPECT_EQ(Log[1].Rect().y2, 480);
    ExpectState(Log[2], callSetRenderState, D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    ExpectState(Log[3], callSetRenderState, D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
    ExpectState(Log[4], callSetRenderState, D3DRENDERSTATE_FOGENABLE, D3DSTATE_FALSE);
}

TEST_F(Frame, WithFogTheFrameSetsBlackLinearFogFrom700To1100) {
    BeginFrame(1);
    ASSERT_EQ(Log.Size(), 9u);
    ExpectState(Log[4], callSetRenderState, D3DRENDERSTATE_FOGENABLE, D3DSTATE_TRUE);
    ExpectState(Log[5], callSetRenderState, D3DRENDERSTATE_FOGCOLOR, 0);
    ExpectState(Log[6], callSetLightState, D3DLIGHTSTATE_FOGMODE, D3DFOG_LINEAR);
    ExpectState(Log[7], callSetLightState, D3DLIGHTSTATE_FOGSTART, D3DStateFromFloat(700.0f));
    ExpectState(Log[8], callSetLightState, D3DLIGHTSTATE_FOGEND, D3DStateFromFloat(1100.0f));
}

TEST_F(Frame, AnyNonZeroSettingTurnsFogOn) {
    BeginFrame(-5);
    EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_FOGENABLE), D3DSTATE_TRUE);
}

TEST_F(Frame, TurningFogOffShowsOnTheNextFrame) {
    BeginFrame(1);
    BeginFrame(0);
    EXPECT_EQ(g_device->GetRenderState(D3DRENDERSTATE_FOGENABLE), D3DSTATE_FALSE);
}

TEST_F(Frame, PresentFlipsOnce) {
    PresentFrame();
    EXPECT_EQ(Presenter.Kinds(), std::vector<TPresentCallKind>{presentFlip});
}

TEST_F(Frame, NothingHappensBeforeTheSetUpOrAfterTheRelease) {
    ReleaseGraphics();
    Presenter.ClearLog();
    Log.Clear();
    BeginFrame(1);
    PresentFrame();
    EXPECT_TRUE(Presenter.Calls().empty());
    EXPECT_EQ(Log.Size(), 0u);
}

TEST_F(Frame, RecordingAFrameAllocatesNoNewLogStorage) {
    BeginFrame(1);
    const size_t capacity = Log.Capacity();
    for (int i = 0; i < 100; ++i) {
        BeginFrame(i % 2);
    }
    EXPECT_EQ(Log.Capacity(), capacity);
}

} // namespace
