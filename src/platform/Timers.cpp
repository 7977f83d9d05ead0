#include "platform/Timers.h"

#include "platform/Clock.h"

void TTimerTable::Set(uint32_t id, uint32_t delayMs, TTimerProc proc, uint32_t now) {
    Entries[id] = TEntry{now, delayMs, NextOrder++, proc};
}

void TTimerTable::Kill(uint32_t id) {
    Entries.erase(id);
}

bool TTimerTable::TakeDue(uint32_t now, uint32_t& id, TTimerProc& proc) {
    auto best = Entries.end();
    uint32_t bestLateness = 0;
    for (auto it = Entries.begin(); it != Entries.end(); ++it) {
        const TEntry& entry = it->second;
        const uint32_t elapsed = now - entry.Start;
        if (elapsed < entry.DelayMs) {
            continue;
        }
        // The one due longest ago goes first; equal dues go in arming order.
        const uint32_t lateness = elapsed - entry.DelayMs;
        if (best == Entries.end() || lateness > bestLateness ||
            (lateness == bestLateness && entry.Order < best->second.Order)) {
            best = it;
            bestLateness = lateness;
        }
    }
    if (best == Entries.end()) {
        return false;
    }
    id = best->first;
    proc = best->second.Proc;
    Entries.erase(best);
    return true;
}

int64_t TTimerTable::RemainingMs(uint32_t id, uint32_t now) const {
    const auto it = Entries.find(id);
    if (it == Entries.end()) {
        return -1;
    }
    const uint32_t elapsed = now - it->second.Start;
    return elapsed >= it->second.DelayMs ? 0 : int64_t{it->second.DelayMs - elapsed};
}

TTimerTable& MainTimers() {
    static TTimerTable table;
    return table;
}

void SetTimer(uint32_t id, uint32_t delayMs, TTimerProc proc) {
    MainTimers().Set(id, delayMs, proc, GetTickCount());
}

void KillTimer(uint32_t id) {
    MainTimers().Kill(id);
}
