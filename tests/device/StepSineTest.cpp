#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

#include "device/StepSine.h"

TEST(StepSine, MatchesTheTrueSineForEveryStepAndTheExtremes) {
    FillSinTable();
    for (int n = -200; n <= 200; ++n) {
        ASSERT_NEAR(StepSin(n), std::sin(n * std::numbers::pi / 16), 1e-12) << n;
        ASSERT_NEAR(StepCos(n), std::cos(n * std::numbers::pi / 16), 1e-12) << n;
    }
    EXPECT_NEAR(StepSin(INT_MIN), std::sin(double(INT_MIN % 32) * std::numbers::pi / 16), 1e-12);
    EXPECT_NEAR(StepCos(INT_MAX), std::cos(double(INT_MAX % 32) * std::numbers::pi / 16), 1e-12);
}
