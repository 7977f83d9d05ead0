#include "scene/Movement.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// "+10/100": to 10 in 100 ms ("*" repeating); "w250": wait; "=7.5": reads; "s3": set.
namespace {

const struct {
    const char* Name;
    uint32_t Start;
    const char* Steps;
    size_t QueuedAtEnd;
} kScripts[] = {
    {"straight line, then it stops", 1000, "+10/1000 =0 w500 =5 w250 =7.5 w5000 =10", 0},
    {"starts at the call when idle", 1000, "w777 +100/100 w10 =10", 1},
    {"jumps, then a segment", 1000, "+1/0 +5/0 +15/100 =5 w50 =10", 1},
    {"a slow frame consumes run-out segments", 1000, "+10/100 +20/100 +40/100 w250 =30", 1},
    {"appended behind a run-out segment", 1000, "+10/100 w150 +20/100 =15", 1},
    {"appended to a running queue", 1000, "+10/100 w60 +0/100 w90 =5", 1},
    {"a repeating turn", 1000, "*0/0 *360/2000 w500 =90 w2000 =90 w1000 =270 w1000000 =270", 2},
    {"once in front of a cycle", 1000, "+100/100 *0/100 *100/100 w150 =50 w100 =50", 2},
    {"a cycle of jumps only", 1000, "*1/0 *1/0 =1", 2},
    {"a closed path comes round again", 1000, "*50/100 *-50/100 *0/100 w300 =0 w3050 =25", 3},
    {"set value cancels", 1000, "+10/1000 *0/0 w300 s3 w5000 =3", 0},
    {"across the tick wrap", 0xFFFFFF9Cu, "+100/400 w50 =12.5 w150 =50 w200 =100", 0},
};

} // namespace

TEST(Movement, ScriptsKeepTheirTimetable) {
    for (const auto& script : kScripts) {
        SCOPED_TRACE(script.Name);
        TManualClock clock{script.Start};
        TScopedClock scope{clock};
        TMovement value{0.0};
        std::istringstream steps(script.Steps);
        for (std::string step; steps >> step;) {
            SCOPED_TRACE(step);
            const double number = std::stod(step.substr(1));
            if (step[0] == '+' || step[0] == '*') {
                const auto time = uint32_t(std::stoul(step.substr(step.find('/') + 1)));
                value.AddSchedule(number, time, step[0] == '*');
            } else if (step[0] == 'w') {
                clock.Advance(static_cast<uint32_t>(number));
            } else if (step[0] == '=') {
                EXPECT_DOUBLE_EQ(value.GetValue(), number);
            } else {
                ASSERT_EQ(step[0], 's');
                EXPECT_EQ(value.SetValue(number), number);
            }
        }
        EXPECT_EQ(value.Schedule.size(), script.QueuedAtEnd);
    }
}
