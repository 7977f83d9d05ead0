#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "device/StepSine.h"

namespace {

class StepSineTest : public ::testing::Test {
  protected:
    void SetUp() override { FillSinTable(); }
};

TEST_F(StepSineTest, KnownValues) {
    EXPECT_DOUBLE_EQ(StepSin(0), 0.0);
    EXPECT_DOUBLE_EQ(StepSin(8), 1.0);
    EXPECT_DOUBLE_EQ(StepSin(-8), -1.0);
    EXPECT_DOUBLE_EQ(StepSin(32), StepSin(0));
    EXPECT_DOUBLE_EQ(StepCos(0), 1.0);
    EXPECT_DOUBLE_EQ(StepCos(16), -1.0);
}

TEST_F(StepSineTest, MatchesTheTrueSineForEveryStep) {
    for (int n = -200; n <= 200; ++n) {
        ASSERT_NEAR(StepSin(n), std::sin(n * M_PI / 16), 1e-12) << n;
        ASSERT_NEAR(StepCos(n), std::cos(n * M_PI / 16), 1e-12) << n;
    }
}

TEST_F(StepSineTest, ExtremeStepCountsStayInTheTable) {
    EXPECT_NEAR(StepSin(INT_MIN), std::sin(double(INT_MIN % 32) * M_PI / 16), 1e-12);
    EXPECT_NEAR(StepCos(INT_MAX), std::cos(double(INT_MAX % 32) * M_PI / 16), 1e-12);
}

} // namespace
