#pragma once

#include <atomic>
#include <vector>

#include "engine/SearchWorker.h"

// A search worker whose search finishes when the test says so: the answer-ready point of a real
// thread, put in the test's hands.
class TManualWorker final : public TSearchWorker {
  public:
    void Start(const TSearchRequest& request) override {
        // A real worker stops the search left behind and waits for its end first.
        if (m_pending) {
            ++Stops;
            m_pending = false;
        }
        Requests.push_back(request);
        m_request = request;
        m_pending = true;
    }
    bool Finished() const override { return !m_pending; }
    TSearchReply Reply() const override { return m_reply; }
    void Stop() override { ++Stops; }
    void Wait() override {
        ++Waits;
        Finish();
    }
    // The search ends now: its answer is there and Finished() tells so.
    void Finish() {
        if (m_pending) {
            m_pending = false;
            const std::atomic<bool> go{false};
            m_reply = AnswerSearch(m_request, go);
        }
    }
    std::vector<TSearchRequest> Requests; // every one started, the first first
    int Waits = 0;
    int Stops = 0;

  private:
    TSearchRequest m_request;
    TSearchReply m_reply;
    bool m_pending = false;
};
