#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, ManualClockDrivesTheTickCountAndWraps) {
    TManualClock clock(0xFFFFFFF0u);
    TScopedClock scope(clock);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    clock.Advance(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u);
    // Durations across the wrap still come out right by unsigned difference.
    EXPECT_EQ(GetTickCount() - 0xFFFFFFF0u, 0x20u);
}

TEST(Clock, ScopeRestoresThePreviousSource) {
    TManualClock outer(100);
    TScopedClock outerScope(outer);
    {
        TManualClock inner(5000);
        TScopedClock innerScope(inner);
        EXPECT_EQ(GetTickCount(), 5000u);
    }
    EXPECT_EQ(GetTickCount(), 100u);
}

TEST(Clock, DefaultClockNeverRunsBackwards) {
    SetClockSource(nullptr);
    const uint32_t first = GetTickCount();
    const uint32_t second = GetTickCount();
    EXPECT_LE(second - first, 1000u);
}
