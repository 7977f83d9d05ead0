#include "platform/Clock.h"

#include <chrono>

namespace {

class TSteadyClock final : public TClockSource {
  public:
    uint32_t Now() const override {
        const auto elapsed = std::chrono::steady_clock::now() - Start;
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
        return static_cast<uint32_t>(static_cast<uint64_t>(ms));
    }

  private:
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
};

const TClockSource* g_defaultClock() {
    static const TSteadyClock clock;
    return &clock;
}

const TClockSource* g_clock = nullptr;

} // namespace

uint32_t GetTickCount() {
    return (g_clock ? g_clock : g_defaultClock())->Now();
}

void SetClockSource(const TClockSource* source) {
    g_clock = source;
}

TScopedClock::TScopedClock(const TClockSource& source) : Previous(g_clock) {
    g_clock = &source;
}

TScopedClock::~TScopedClock() {
    g_clock = Previous;
}
