#include "scene/Movement.h"

#include "platform/Clock.h"

#include <cstddef>

double TMovement::GetValue() const {
    // A queue made only of repeating jumps would never let the loop end; once every queued
    // segment has gone round as a repeating jump without time passing, hold the value there.
    std::size_t jumpsInARow = 0;
    while (!Schedule.empty()) {
        const TSchedule& front = Schedule.front();
        if (front.Time > 0) {
            const uint32_t elapsed = GetTickCount() - StartTime;
            if (elapsed < front.Time) {
                return Value + (front.Target - Value) * elapsed / front.Time;
            }
            jumpsInARow = 0;
        } else if (!front.Repeat) {
            jumpsInARow = 0;
        } else if (++jumpsInARow > Schedule.size()) {
            return Value;
        }
        // The segment has run out: the next one begins exactly where this one ended.
        Value = front.Target;
        StartTime += front.Time;
        if (front.Repeat) {
            Schedule.splice(Schedule.end(), Schedule, Schedule.begin());
        } else {
            Schedule.pop_front();
        }
    }
    return Value;
}

double TMovement::SetValue(double v) {
    Schedule.clear();
    Value = v;
    return v;
}

void TMovement::AddSchedule(double target, uint32_t time, bool repeat) {
    if (Schedule.empty()) {
        StartTime = GetTickCount();
    }
    Schedule.push_back({target, time, repeat});
}
