#include <gtest/gtest.h>

#include <vector>

#include "platform/Timers.h"

namespace {

std::vector<uint32_t> g_fired;
void Record(uint32_t id) {
    g_fired.push_back(id);
}

std::vector<uint32_t> DrainAt(TTimerTable& table, uint32_t now) {
    std::vector<uint32_t> ids;
    uint32_t id = 0;
    TTimerProc proc = nullptr;
    while (table.TakeDue(now, id, proc)) {
        EXPECT_EQ(proc, &Record);
        ids.push_back(id);
    }
    return ids;
}

TEST(TimerTable, FiresOnceWhenDue) {
    TTimerTable table;
    table.Set(7, 100, Record, 1000);
    EXPECT_TRUE(DrainAt(table, 1099).empty());
    EXPECT_EQ(DrainAt(table, 1100), std::vector<uint32_t>{7});
    EXPECT_TRUE(DrainAt(table, 5000).empty());
    EXPECT_FALSE(table.IsArmed(7));
}

TEST(TimerTable, ZeroDelayIsDueAtOnce) {
    TTimerTable table;
    table.Set(1, 0, Record, 1000);
    EXPECT_EQ(DrainAt(table, 1000), std::vector<uint32_t>{1});
}

TEST(TimerTable, SettingAnArmedIdReplacesIt) {
    TTimerTable table;
    table.Set(3, 100, Record, 1000);
    table.Set(3, 100, Record, 1050);
    EXPECT_EQ(table.Count(), 1u);
    EXPECT_TRUE(DrainAt(table, 1100).empty());
    EXPECT_EQ(DrainAt(table, 1150), std::vector<uint32_t>{3});
}

TEST(TimerTable, KillDisarms) {
    TTimerTable table;
    table.Set(3, 10, Record, 0);
    table.Kill(3);
    table.Kill(99);
    EXPECT_TRUE(DrainAt(table, 100).empty());
}

TEST(TimerTable, EarliestDueFirstThenArmingOrder) {
    TTimerTable table;
    table.Set(50, 300, Record, 0);
    table.Set(10, 100, Record, 0);
    table.Set(40, 200, Record, 0);
    table.Set(20, 200, Record, 0);
    EXPECT_EQ(DrainAt(table, 1000), (std::vector<uint32_t>{10, 40, 20, 50}));
}

TEST(TimerTable, DueAcrossTheTickWrap) {
    TTimerTable table;
    table.Set(1, 200, Record, 0xFFFFFFA0u);
    EXPECT_TRUE(DrainAt(table, 0xFFFFFFF0u).empty());
    EXPECT_TRUE(DrainAt(table, 0x00000067u).empty());
    EXPECT_EQ(DrainAt(table, 0x00000068u), std::vector<uint32_t>{1});
}

TEST(TimerTable, RemainingTime) {
    TTimerTable table;
    EXPECT_EQ(table.RemainingMs(5, 0), -1);
    table.Set(5, 250, Record, 1000);
    EXPECT_EQ(table.RemainingMs(5, 1100), 150);
    EXPECT_EQ(table.RemainingMs(5, 2000), 0);
}

} // namespace
