#pragma once

#include <memory>

#include "engine/SearchRequest.h"

// Where the engine answers the game's questions: on a thread of its own, so that frames keep
// coming while it thinks, in the browser's worker, or inline in the caller's frame where the
// build has neither.
//
// One search at a time per worker, started and watched from one thread (the frame loop). The
// request is copied: nothing the caller changes afterwards reaches the search. A search that is
// no longer wanted is stopped; the next Start, Wait or the worker's destruction waits for its
// end (a stopped search ends promptly), so no search outlives its worker.
class TSearchWorker {
  public:
    virtual ~TSearchWorker() = default;

    // Answers `request`, after stopping the search before should it still be running.
    virtual void Start(const TSearchRequest& request) = 0;
    // True once the search started last has ended (and when none was ever started).
    virtual bool Finished() const = 0;
    // The answer of the search started last, once Finished() is true; a stopped search's
    // answer says it has none.
    virtual TSearchReply Reply() const = 0;
    // Asks the running search to end without an answer; returns at once.
    virtual void Stop() = 0;
    // Returns when the search started last has ended.
    virtual void Wait() = 0;
};

// Answers each request inside Start: the search blocks the frame that asks for it.
class TInlineSearchWorker final : public TSearchWorker {
  public:
    void Start(const TSearchRequest& request) override {
        const std::atomic<bool> go{false};
        m_reply = AnswerSearch(request, go);
    }
    bool Finished() const override { return true; }
    TSearchReply Reply() const override { return m_reply; }
    void Stop() override {}
    void Wait() override {}

  private:
    TSearchReply m_reply;
};

// The worker of this build: a thread per search where the build has threads (should a thread
// not start, that search runs inline), the inline worker where it has none.
std::unique_ptr<TSearchWorker> MakeSearchWorker();
