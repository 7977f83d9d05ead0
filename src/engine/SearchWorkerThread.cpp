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
    ~TThreadSearchWorker() override { Wait(); }

    void Start(std::function<void()> job) override {
        Wait();
        Job = std::move(job);
        Done.store(false, std::memory_order_relaxed);
        try {
            Thread = std::thread([this] {
                Job();
                Done.store(true, std::memory_order_release);
            });
        } catch (const std::system_error&) {
            // No thread to be had (the system is out of them): this one search blocks its
            // frame, as it would in a build without threads.
            Job();
            Done.store(true, std::memory_order_release);
        }
    }

    bool Finished() const override { return Done.load(std::memory_order_acquire); }

    void Wait() override {
        if (Thread.joinable()) {
            Thread.join();
        }
    }

  private:
    // Touched by the frame loop only while no thread runs.
    std::function<void()> Job;
    std::thread Thread;
    std::atomic<bool> Done{true};
};

} // namespace

std::unique_ptr<TSearchWorker> MakeSearchWorker() {
    return std::make_unique<TThreadSearchWorker>();
}
