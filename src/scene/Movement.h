#pragma once

#include <cstdint>
#include <list>

// A number that moves over time. It holds a value and a queue of segments; each segment carries
// the value in a straight line to its target within its time, then the next one starts exactly
// where it ended. Time is the millisecond tick count of GetTickCount(), read when the value is
// read or when a segment is added to an idle value: nothing advances in the background.
//
// A segment of time 0 is a jump. A repeating segment re-queues itself at the back when it ends,
// so repeating segments form a cycle that runs until SetValue empties the queue. One reading
// consumes every segment that has run out since the last, so a slow frame keeps the timetable.
// Ticks wrap modulo 2^32; elapsed times are unsigned differences and stay right across the wrap.
//
// Reading a running segment allocates nothing, and neither does re-queueing a repeating one (its
// node moves to the back); only AddSchedule allocates.
class TMovement {
  public:
    struct TSchedule {
        double Target;
        uint32_t Time; // milliseconds; 0 = jump
        bool Repeat;
    };

    explicit TMovement(double initial = 0.0) : Value(initial) {}
    TMovement(const TMovement&) = delete;
    TMovement& operator=(const TMovement&) = delete;

    // The current value. Catches up with the clock, consuming the segments that have run out;
    // that changes no reading, so it is allowed on a const value.
    double GetValue() const;
    // Cancels every queued segment and holds `v`; StartTime is left as it was. Returns `v`.
    double SetValue(double v);
    // Appends a segment. On an idle value it starts now; behind others it starts when they end.
    void AddSchedule(double target, uint32_t time, bool repeat);

    // The value at the start of the running segment, or the value itself while idle.
    mutable double Value;
    // Tick (ms) at which the running segment began.
    mutable uint32_t StartTime = 0;
    // The queue; its front is the running segment. Empty means idle.
    mutable std::list<TSchedule> Schedule;
};

// A point or a triple of angles, each coordinate animated on its own.
struct TMovement3D {
    TMovement X{0.0};
    TMovement Y{0.0};
    TMovement Z{0.0};
};
