#include "engine/SearchWorker.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace {

class TThreadSearchWorker final : public TSearchWorker {
  public:
    TThreadSearchWorker() = default;
    TThreadSearchWorker(const TThreadSearchWorker&) = delete;
    TThreadSearchWorker& operator=(const TThreadSearchWorker&) = delete;
    ~TThreadSearchWorker() override {
        Stop();
        Wait();
    }

    void Start(const TSearchRequest& request) override {
        Stop();
        Wait();
        m_stop.store(false, std::memory_order_relaxed);
        m_done.store(false, std::memory_order_relaxed);
        try {
            m_thread = std::thread([this, request] { Run(request); });
        } catch (const std::system_error&) {
            // No thread to be had (the system is out of them): this one search blocks its
            // frame, as it would in a build without threads.
            Run(request);
        }
    }

    bool Finished() const override { return m_done.load(std::memory_order_acquire); }

    TSearchReply Reply() const override {
        TSearchReply reply = m_reply;
        // A stop asked for after the search had already ended drops its answer all the same.
        reply.Answered = reply.Answered && !m_stop.load(std::memory_order_acquire);
        return reply;
    }

    void Stop() override { m_stop.store(true, std::memory_order_release); }

    void Wait() override {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

  private:
    void Run(const TSearchRequest& request) {
        m_reply = AnswerSearch(request, m_stop);
        m_done.store(true, std::memory_order_release);
    }

    // Written by the search's thread only while it runs, read by the frame loop only after.
    TSearchReply m_reply;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{true};
};

} // namespace

std::unique_ptr<TSearchWorker> MakeSearchWorker() {
    return std::make_unique<TThreadSearchWorker>();
}
