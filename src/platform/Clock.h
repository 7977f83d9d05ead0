#pragma once

#include <cstdint>

// The one millisecond tick count of the whole program. Every animation, state time, key repeat
// and timer reads it through GetTickCount(); tests install a TManualClock and move time by hand.
// Ticks are unsigned 32-bit and wrap modulo 2^32: compare them by unsigned differences only.

class TClockSource {
  public:
    virtual ~TClockSource() = default;
    virtual uint32_t Now() const = 0;
};

// Milliseconds from the current clock source.
uint32_t GetTickCount();

// Installs a clock source (not owned; it must outlive its use). Null restores the default,
// a monotonic clock counting from the first reading in this process.
void SetClockSource(const TClockSource* source);

// A clock that only moves when told to; the tick wraps like the real one.
class TManualClock final : public TClockSource {
  public:
    explicit TManualClock(uint32_t start = 0) : Tick(start) {}
    uint32_t Now() const override { return Tick; }
    void Set(uint32_t tick) { Tick = tick; }
    void Advance(uint32_t milliseconds) { Tick += milliseconds; }

  private:
    uint32_t Tick;
};

// Installs a clock for the lifetime of a scope and restores the previous one after it.
class TScopedClock {
  public:
    explicit TScopedClock(const TClockSource& source);
    ~TScopedClock();
    TScopedClock(const TScopedClock&) = delete;
    TScopedClock& operator=(const TScopedClock&) = delete;

  private:
    const TClockSource* Previous;
};
