#include "scene/Movement.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace {

struct TMovementFixture : ::testing::Test {
    TManualClock clock{1000};
    TScopedClock scope{clock};
    TMovement value{0.0};
};

} // namespace

// ---- idle values ----

TEST_F(TMovementFixture, FreshValueReadsItsInitialValueAtAnyTime) {
    TMovement seven(7.5);
    EXPECT_EQ(value.GetValue(), 0.0);
    EXPECT_EQ(seven.GetValue(), 7.5);
    clock.Advance(123456);
    EXPECT_EQ(value.GetValue(), 0.0);
    EXPECT_EQ(seven.GetValue(), 7.5);
}

TEST_F(TMovementFixture, SetValueReturnsTheValueAndKeepsStartTime) {
    value.AddSchedule(1.0, 100, false);
    const uint32_t start = value.StartTime;
    clock.Advance(30);
    EXPECT_EQ(value.SetValue(4.0), 4.0);
    EXPECT_EQ(value.StartTime, start);
}

// ---- a single segment ----

TEST_F(TMovementFixture, SegmentRunsInAStraightLineAndStopsAtItsTarget) {
    value.AddSchedule(10.0, 1000, false);
    EXPECT_EQ(value.GetValue(), 0.0);
    clock.Advance(500);
    EXPECT_DOUBLE_EQ(value.GetValue(), 5.0);
    clock.Advance(250);
    EXPECT_DOUBLE_EQ(value.GetValue(), 7.5);
    clock.Advance(250);
    EXPECT_DOUBLE_EQ(value.GetValue(), 10.0);
    EXPECT_TRUE(value.Schedule.empty());
    clock.Advance(5000);
    EXPECT_DOUBLE_EQ(value.GetValue(), 10.0);
}

TEST_F(TMovementFixture, ReadingARunningSegmentLeavesTheQueueAlone) {
    value.AddSchedule(10.0, 1000, false);
    clock.Advance(400);
    value.GetValue();
    ASSERT_EQ(value.Schedule.size(), 1u);
    EXPECT_EQ(value.Value, 0.0);
    EXPECT_EQ(value.StartTime, 1000u);
}

TEST_F(TMovementFixture, SegmentAddedToAnIdleValueStartsAtTheCall) {
    clock.Advance(777);
    value.AddSchedule(100.0, 100, false);
    EXPECT_EQ(value.StartTime, 1777u);
    clock.Advance(10);
    EXPECT_DOUBLE_EQ(value.GetValue(), 10.0);
}

// ---- jumps ----

TEST_F(TMovementFixture, JumpThenSegmentContinueFromTheJumpTargetInOneReading) {
    value.AddSchedule(5.0, 0, false);
    value.AddSchedule(15.0, 100, false);
    EXPECT_DOUBLE_EQ(value.GetValue(), 5.0);
    clock.Advance(50);
    EXPECT_DOUBLE_EQ(value.GetValue(), 10.0);
}

TEST_F(TMovementFixture, SeveralJumpsInARowAllApply) {
    value.AddSchedule(1.0, 0, false);
    value.AddSchedule(2.0, 0, false);
    value.AddSchedule(3.0, 0, false);
    EXPECT_DOUBLE_EQ(value.GetValue(), 3.0);
    EXPECT_TRUE(value.Schedule.empty());
}

// ---- slow frames keep the timetable ----

TEST_F(TMovementFixture, SegmentsThatRanOutBetweenReadingsAreAllConsumed) {
    value.AddSchedule(10.0, 100, false);
    value.AddSchedule(20.0, 100, false);
    clock.Advance(250);
    EXPECT_DOUBLE_EQ(value.GetValue(), 20.0);
    EXPECT_TRUE(value.Schedule.empty());
}

TEST_F(TMovementFixture, ReadingLandsInsideTheSegmentRunningNow) {
    value.AddSchedule(10.0, 100, false);
    value.AddSchedule(20.0, 100, false);
    value.AddSchedule(40.0, 100, false);
    clock.Advance(250);
    EXPECT_DOUBLE_EQ(value.GetValue(), 30.0);
    EXPECT_EQ(value.StartTime, 1200u);
    EXPECT_EQ(value.Schedule.size(), 1u);
}

TEST_F(TMovementFixture, SegmentAppendedBehindARunOutSegmentStartsWhereThatEnded) {
    value.AddSchedule(10.0, 100, false);
    clock.Advance(150); // ran out at 1100, not yet read
    value.AddSchedule(20.0, 100, false);
    EXPECT_DOUBLE_EQ(value.GetValue(), 15.0);
}

TEST_F(TMovementFixture, SegmentsAppendedToARunningQueueFollowWithoutAPause) {
    value.AddSchedule(10.0, 100, false);
    clock.Advance(60);
    value.AddSchedule(0.0, 100, false);
    clock.Advance(90); // 50 ms into the second segment
    EXPECT_DOUBLE_EQ(value.GetValue(), 5.0);
}

// ---- repeating cycles ----

TEST_F(TMovementFixture, RepeatingJumpAndTurnRunFromZeroToFullCircleOverAndOver) {
    value.SetValue(0.0);
    value.AddSchedule(0.0, 0, true);
    value.AddSchedule(360.0, 2000, true);
    clock.Advance(500);
    EXPECT_DOUBLE_EQ(value.GetValue(), 90.0);
    clock.Advance(2000);
    EXPECT_DOUBLE_EQ(value.GetValue(), 90.0);
    clock.Advance(1000);
    EXPECT_DOUBLE_EQ(value.GetValue(), 270.0);
    EXPECT_EQ(value.Schedule.size(), 2u);
}

TEST_F(TMovementFixture, CycleSurvivesALongPauseBetweenReadings) {
    value.AddSchedule(0.0, 0, true);
    value.AddSchedule(360.0, 2000, true);
    clock.Advance(2000 * 500 + 1500);
    EXPECT_DOUBLE_EQ(value.GetValue(), 270.0);
}

TEST_F(TMovementFixture, NonRepeatingSegmentsInFrontOfACycleRunOnce) {
    value.AddSchedule(100.0, 100, false);
    value.AddSchedule(0.0, 100, true);
    value.AddSchedule(100.0, 100, true);
    clock.Advance(150);
    EXPECT_DOUBLE_EQ(value.GetValue(), 50.0);
    clock.Advance(100); // 50 ms into the second segment of the cycle
    EXPECT_DOUBLE_EQ(value.GetValue(), 50.0);
    EXPECT_EQ(value.Schedule.size(), 2u);
}

TEST_F(TMovementFixture, ClosedPathOfManySegmentsComesBackToItsStart) {
    // The title screen's light path: 64 repeating 100 ms segments round a closed loop.
    value.SetValue(0.0);
    for (int i = 1; i <= 64; ++i) {
        value.AddSchedule(i == 64 ? 0.0 : (i % 2 ? 50.0 : -50.0), 100, true);
    }
    clock.Advance(6400);
    EXPECT_DOUBLE_EQ(value.GetValue(), 0.0);
    clock.Advance(50);
    EXPECT_DOUBLE_EQ(value.GetValue(), 25.0);
    EXPECT_EQ(value.Schedule.size(), 64u);
}

TEST_F(TMovementFixture, CycleOfRepeatingJumpsOnlyDoesNotHangTheReader) {
    value.AddSchedule(1.0, 0, true);
    value.AddSchedule(2.0, 0, true);
    const double read = value.GetValue();
    EXPECT_TRUE(read == 1.0 || read == 2.0);
    EXPECT_EQ(value.Schedule.size(), 2u);
}

// ---- SetValue cancels ----

TEST_F(TMovementFixture, SetValueWhileRunningHoldsTheNewValueAndEmptiesTheQueue) {
    value.AddSchedule(10.0, 1000, false);
    value.AddSchedule(0.0, 0, true);
    clock.Advance(300);
    value.SetValue(3.0);
    EXPECT_TRUE(value.Schedule.empty());
    clock.Advance(5000);
    EXPECT_EQ(value.GetValue(), 3.0);
}

// ---- the wrap of the tick counter ----

TEST_F(TMovementFixture, SegmentStartedJustBeforeTheWrapContinuesSmoothlyAfterIt) {
    clock.Set(0xFFFFFFFFu - 99u); // 100 ms before the wrap
    value.AddSchedule(100.0, 400, false);
    clock.Advance(50);
    EXPECT_DOUBLE_EQ(value.GetValue(), 12.5);
    clock.Advance(150); // now 100 ms past the wrap
    EXPECT_DOUBLE_EQ(value.GetValue(), 50.0);
    clock.Advance(200);
    EXPECT_DOUBLE_EQ(value.GetValue(), 100.0);
    EXPECT_TRUE(value.Schedule.empty());
}

TEST_F(TMovementFixture, SegmentsChainedAcrossTheWrapKeepTheirTimetable) {
    clock.Set(0xFFFFFFFFu - 49u);
    value.AddSchedule(10.0, 100, false);
    value.AddSchedule(20.0, 100, false);
    clock.Advance(150); // 50 ms into the second segment, after the wrap
    EXPECT_DOUBLE_EQ(value.GetValue(), 15.0);
    EXPECT_EQ(value.StartTime, 50u);
}

// ---- three at once ----

TEST_F(TMovementFixture, ThreeDimensionalValueStartsAtZeroAndMovesEachAxisOnItsOwn) {
    TMovement3D point;
    EXPECT_EQ(point.X.GetValue(), 0.0);
    EXPECT_EQ(point.Y.GetValue(), 0.0);
    EXPECT_EQ(point.Z.GetValue(), 0.0);
    point.Y.AddSchedule(100.0, 100, false);
    clock.Advance(50);
    EXPECT_EQ(point.X.GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(point.Y.GetValue(), 50.0);
    EXPECT_EQ(point.Z.GetValue(), 0.0);
}
