#pragma once

#include <cstdint>

// Keeps frames to the display's rate where the swap does not wait for it, as a flip that
// waits for the vertical retrace would: a software renderer, a virtual X server or an
// offscreen window would otherwise draw as fast as the processor allows, burning a core for
// pictures nobody sees.
//
// Pacing starts at once when the swap interval could not be set, and otherwise as soon as
// frames are seen to come much faster than the display shows them. Once started it stays on.
// Times are the program's millisecond ticks (GetTickCount), compared by unsigned differences.
class TFramePacer {
  public:
    static constexpr int kUnknownRefreshHz = 60;

    // `refreshHz`: the display's refresh rate, 0 (or less) when unknown. `swapWaits`: whether
    // the swap was set to wait for the display.
    TFramePacer(int refreshHz, bool swapWaits);

    // Call right after each swap, with the tick of that moment. Returns how many milliseconds to
    // wait before the next frame starts (0: start at once).
    uint32_t AfterSwap(uint32_t now);

    bool Pacing() const { return Pacing_; }
    // Microseconds between two pictures of the display.
    uint64_t PeriodUs() const { return Period; }

  private:
    uint64_t Period;
    bool Pacing_;
    bool Started = false;
    uint32_t LastTick = 0;
    uint64_t Clock = 0;       // microseconds since the first swap
    uint64_t WindowStart = 0; // when the frames being watched began
    int WindowFrames = 0;
    uint64_t NextFrame = 0; // when the next frame should start
};
