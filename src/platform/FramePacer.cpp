#include "platform/FramePacer.h"

namespace {

// Frames watched before deciding that the display does not hold them back.
constexpr int kWatchedFrames = 30;
// A display that paces the swap cannot let frames through faster than this share of its
// period on average; noise in a short frame or two cannot pass it either.
constexpr uint64_t kFastShareNumerator = 3;
constexpr uint64_t kFastShareDenominator = 4;

} // namespace

TFramePacer::TFramePacer(int refreshHz, bool swapWaits)
    : Period(1'000'000 / static_cast<uint64_t>(refreshHz > 0 ? refreshHz : kUnknownRefreshHz)),
      Pacing_(!swapWaits) {}

uint32_t TFramePacer::AfterSwap(uint32_t now) {
    if (!Started) {
        Started = true;
        LastTick = now;
        NextFrame = 0;
        return 0;
    }
    Clock += uint64_t{now - LastTick} * 1000;
    LastTick = now;

    if (!Pacing_) {
        if (++WindowFrames < kWatchedFrames) {
            return 0;
        }
        const uint64_t took = Clock - WindowStart;
        WindowStart = Clock;
        WindowFrames = 0;
        if (took * kFastShareDenominator >= kWatchedFrames * Period * kFastShareNumerator) {
            return 0;
        }
        Pacing_ = true;
        NextFrame = Clock;
        return 0;
    }

    NextFrame += Period;
    if (NextFrame < Clock) {
        NextFrame = Clock; // behind by a whole frame or more: no burst to catch up
    }
    return static_cast<uint32_t>((NextFrame - Clock) / 1000);
}
