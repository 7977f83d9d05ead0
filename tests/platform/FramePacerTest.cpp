#include <gtest/gtest.h>

#include "platform/FramePacer.h"

namespace {

// A loop of frames on a clock set by hand: each frame takes `renderMs` (plus whatever the swap
// itself waits for the display), then the pacer's wait.
struct TRun {
    int Frames = 0;
    uint32_t Elapsed = 0;
    uint32_t Waited = 0;
};

TRun Simulate(TFramePacer& pacer, int frames, uint32_t renderMs, uint32_t vsyncMs = 0) {
    uint32_t now = 0xFFFFF000u; // the tick count wraps during the run
    const uint32_t start = now;
    TRun run;
    for (; run.Frames < frames; ++run.Frames) {
        now += renderMs;
        if (vsyncMs != 0) {
            now += vsyncMs - (now - start) % vsyncMs; // a swap that waits for the next picture
        }
        const uint32_t wait = pacer.AfterSwap(now);
        EXPECT_LE(wait, 17u) << "no wait beyond one period";
        now += wait;
        run.Waited += wait;
    }
    run.Elapsed = now - start;
    return run;
}

TEST(FramePacer, PacesToTheDisplayOnlyWhenTheSwapDoesNot) {
    struct TRow {
        const char* Name;
        int RefreshHz;
        bool SwapWaits;
        uint32_t RenderMs;
        uint32_t VsyncMs; // 0: the swap returns at once
        bool Paced;
        uint32_t ElapsedMs; // for 600 frames, within 2%
    };
    const TRow rows[] = {
        {"no swap interval, 60 Hz", 60, false, 2, 0, true, 10000},
        {"no swap interval, rate unknown", 0, false, 5, 0, true, 10000},
        {"no swap interval, 144 Hz", 144, false, 1, 0, true, 4167},
        // The first 30 frames go unpaced while they are watched: 30 x 3 + 570 x 16.7 ms.
        {"swap interval set but not kept", 60, true, 3, 0, true, 9590},
        {"the swap waits for the display", 60, true, 4, 17, false, 10200},
        {"frames slower than the display", 60, true, 25, 0, false, 15000},
        {"slow frames while paced", 60, false, 25, 0, true, 15000},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TFramePacer pacer(row.RefreshHz, row.SwapWaits);
        const TRun run = Simulate(pacer, 600, row.RenderMs, row.VsyncMs);
        EXPECT_EQ(pacer.Pacing(), row.Paced);
        EXPECT_NEAR(run.Elapsed, row.ElapsedMs, row.ElapsedMs / 50.0);
        if (!row.Paced) {
            EXPECT_EQ(run.Waited, 0u);
        }
    }
}

} // namespace
