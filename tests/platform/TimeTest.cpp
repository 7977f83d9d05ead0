#include "platform/FramePacer.h"
#include "platform/Timers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Record(uint32_t) {}

std::vector<uint32_t> DrainAt(TTimerTable& table, uint32_t now) {
    std::vector<uint32_t> ids;
    uint32_t id = 0;
    TTimerProc proc = nullptr;
    while (ids.size() < 10 && table.TakeDue(now, id, proc) && proc == &Record) {
        ids.push_back(id);
    }
    return ids;
}

// Each timer fires once when due, the earliest first, then in arming order; a killed one never.
TEST(TimerTable, TimersFireOnceEarliestFirstThenInArmingOrder) {
    TTimerTable table;
    const uint32_t arms[][2] = {{50, 300}, {10, 100}, {40, 200}, {20, 200}, {30, 0}, {60, 5}};
    for (const auto& [id, delay] : arms) {
        table.Set(id, delay, Record, 0xFFFFFFA0u); // due across the tick wrap
    }
    table.Kill(60);
    table.Kill(99);
    EXPECT_EQ(DrainAt(table, 0xFFFFFFA0u), std::vector<uint32_t>{30});
    EXPECT_TRUE(DrainAt(table, 0x00000003u).empty());
    EXPECT_EQ(DrainAt(table, 0x00000004u), std::vector<uint32_t>{10});
    EXPECT_EQ(DrainAt(table, 0x00001000u), (std::vector<uint32_t>{40, 20, 50}));
    EXPECT_TRUE(DrainAt(table, 0x00005000u).empty());
}

// 600 frames across the tick wrap: RenderMs, the swap's own wait, then the pacer's.
TEST(FramePacer, PacesToTheDisplayOnlyWhenTheSwapDoesNot) {
    const struct {
        const char* Name;
        int RefreshHz;
        bool SwapWaits;
        uint32_t RenderMs, VsyncMs; // VsyncMs 0: the swap returns at once
        bool Paced;
        uint32_t ElapsedMs; // within 2%
    } rows[] = {
        {"no swap interval, rate unknown: 60 Hz", 0, false, 2, 0, true, 10000},
        // The first 30 frames go unpaced while they are watched: 30 x 3 + 570 x 16.7 ms.
        {"swap interval set but not kept", 60, true, 3, 0, true, 9590},
        {"not kept, frames at half the period", 60, true, 8, 0, true, 9740},
        {"the swap waits for the display", 60, true, 4, 17, false, 10200},
        {"frames slower than the display", 60, true, 25, 0, false, 15000},
        {"slow frames while paced", 60, false, 25, 0, true, 15000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TFramePacer pacer(row.RefreshHz, row.SwapWaits);
        const uint32_t start = 0xFFFFF000u;
        uint32_t now = start;
        uint32_t waited = 0;
        for (int frame = 0; frame < 600; ++frame) {
            now += row.RenderMs;
            now += row.VsyncMs == 0 ? 0 : row.VsyncMs - (now - start) % row.VsyncMs;
            const uint32_t wait = pacer.AfterSwap(now);
            ASSERT_LE(wait, 17u) << "no wait beyond one period";
            now += wait;
            waited += wait;
        }
        EXPECT_NEAR(now - start, row.ElapsedMs, row.ElapsedMs / 50.0);
        EXPECT_EQ(pacer.Pacing(), row.Paced);
        EXPECT_TRUE(row.Paced || waited == 0);
    }
}

} // namespace
