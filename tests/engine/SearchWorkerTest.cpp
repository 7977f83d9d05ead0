#include <atomic>
#include <future>
#include <thread>
#include <type_traits>

#include <gtest/gtest.h>

#include "engine/SearchWorker.h"
#include "engine/discsage.h"

namespace {

// A search node is a plain value: nothing derives from it and nothing calls through a base.
static_assert(!std::is_polymorphic_v<TPhase>);

#if defined(OCTAVANE_THREADS)
// The job runs away from the thread that starts it, and what it wrote is there once the
// worker says it has finished.
TEST(SearchWorkerTest, TheJobRunsOnAnotherThreadAndItsAnswerIsSeenWhenFinished) {
    const std::unique_ptr<TSearchWorker> worker = MakeSearchWorker();
    EXPECT_TRUE(worker->Finished()) << "no job yet";
    std::promise<void> gate;
    std::shared_future<void> open = gate.get_future().share();
    std::thread::id ranOn;
    int x = -1, y = -1;
    bool move = false;
    worker->Start([&, open] {
        open.wait();
        ranOn = std::this_thread::get_id();
        TSage sage;
        sage.SetLevel(9);
        move = sage.Think(TBoard(), &x, &y);
    });
    EXPECT_FALSE(worker->Finished()) << "finished before the job could run";
    gate.set_value();
    worker->Wait();
    EXPECT_TRUE(worker->Finished());
    EXPECT_NE(ranOn, std::this_thread::get_id());
    int ex = -1, ey = -1;
    TSage sage;
    sage.SetLevel(9);
    EXPECT_TRUE(move && sage.Think(TBoard(), &ex, &ey));
    EXPECT_EQ(std::pair(x, y), std::pair(ex, ey));
}

// One search at a time: a job started while the last still runs begins after it has ended,
// since both use the one engine.
TEST(SearchWorkerTest, AJobStartsOnlyAfterTheOneBeforeHasEnded) {
    const std::unique_ptr<TSearchWorker> worker = MakeSearchWorker();
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::atomic<int> done{0};
    const auto job = [&] {
        const int now = ++running;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        TSage sage;
        sage.SetLevel(7);
        int x = 0, y = 0;
        sage.Think(TBoard(), &x, &y);
        --running;
        ++done;
    };
    for (int i = 0; i < 4; ++i) {
        worker->Start(job);
    }
    worker->Wait();
    EXPECT_EQ(done.load(), 4);
    EXPECT_EQ(most.load(), 1) << "two searches ran at once";
}

// A worker let go of while its job runs waits for the job: no thread outlives it.
TEST(SearchWorkerTest, LettingGoWhileAJobRunsWaitsForIt) {
    std::atomic<bool> ended{false};
    std::promise<void> started;
    {
        const std::unique_ptr<TSearchWorker> worker = MakeSearchWorker();
        worker->Start([&] {
            started.set_value();
            TSage sage;
            sage.SetLevel(9);
            int x = 0, y = 0;
            sage.Think(TBoard(), &x, &y);
            ended = true;
        });
        started.get_future().wait();
    }
    EXPECT_TRUE(ended.load());
}

#endif

// Without threads the job runs inside Start, and is finished when Start returns.
TEST(SearchWorkerTest, TheInlineWorkerRunsTheJobInsideStart) {
    TInlineSearchWorker worker;
    std::thread::id ranOn;
    worker.Start([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

} // namespace
