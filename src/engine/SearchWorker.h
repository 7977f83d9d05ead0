#pragma once

#include <functional>
#include <memory>

// Where the computer's search runs: on a thread of its own, so that frames keep coming while it
// thinks, or inline in the caller's frame where the build has no threads.
//
// One job at a time, started and watched from one thread (the frame loop). The job must work on
// its own copies: nothing it reads may change while it runs, and nothing it writes may be read
// before Finished() has answered true. A job that was started and is no longer wanted is
// simply never collected; it still runs to its end (a search lasts some tens of milliseconds at
// the most), and the next Start, Wait or the worker's destruction waits for that end, so no
// thread outlives its worker.
class TSearchWorker {
  public:
    virtual ~TSearchWorker() = default;

    // Runs `job`, after waiting for the one before should it still be running.
    virtual void Start(std::function<void()> job) = 0;
    // True once the job started last has returned (and when none was ever started). Everything
    // the job wrote is then visible to the caller.
    virtual bool Finished() const = 0;
    // Returns when the job started last has returned.
    virtual void Wait() = 0;
};

// Runs each job inside Start: the search blocks the frame that asks for it.
class TInlineSearchWorker final : public TSearchWorker {
  public:
    void Start(std::function<void()> job) override { job(); }
    bool Finished() const override { return true; }
    void Wait() override {}
};

// The worker of this build: a thread per job where the build has threads (should a thread not
// start, that job runs inline), the inline worker where it has none.
std::unique_ptr<TSearchWorker> MakeSearchWorker();
