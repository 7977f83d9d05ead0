#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

// One-shot timers keyed by id, the stand-in for SetTimer/KillTimer on the main window.
// Timers never run on their own: the message loop takes each due timer as a WM_TIMER message
// and dispatches it between frames, on the main thread. Times are GetTickCount() milliseconds.

using TTimerProc = void (*)(uint32_t timerId);

class TTimerTable {
  public:
    // Arms timer `id` to fire `delayMs` after `now`. A timer already armed with this id is
    // replaced, so at most one request per id is ever pending.
    void Set(uint32_t id, uint32_t delayMs, TTimerProc proc, uint32_t now);

    // Disarms timer `id`; nothing happens when it is not armed.
    void Kill(uint32_t id);

    // Takes the earliest due timer at `now` out of the table (a timer fires once).
    // Returns false when none is due.
    bool TakeDue(uint32_t now, uint32_t& id, TTimerProc& proc);

    bool IsArmed(uint32_t id) const { return Entries.contains(id); }
    // Milliseconds from `now` until timer `id` is due (0 when overdue); -1 when not armed.
    int64_t RemainingMs(uint32_t id, uint32_t now) const;
    size_t Count() const { return Entries.size(); }
    void Clear() { Entries.clear(); }

  private:
    struct TEntry {
        uint32_t Start;   // tick at which it was armed
        uint32_t DelayMs; // due at Start + DelayMs, compared by unsigned difference
        uint64_t Order;   // arming order, breaks ties between timers due together
        TTimerProc Proc;
    };
    std::map<uint32_t, TEntry> Entries;
    uint64_t NextOrder = 0;
};

// The main window's timer table.
TTimerTable& MainTimers();

// SetTimer/KillTimer on the main window, timed by GetTickCount().
void SetTimer(uint32_t id, uint32_t delayMs, TTimerProc proc);
void KillTimer(uint32_t id);
