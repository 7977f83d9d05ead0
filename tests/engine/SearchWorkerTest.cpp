#include "ComparePositions.h"

#include <gtest/gtest.h>

#include <utility>

#include "engine/SearchWorker.h"
#include "engine/discsage.h"

namespace {

// The build's worker answers as the computer player does once it says it has finished, and a
// search left running when the next is asked for never leaks its answer into the next; a stop
// drops the answer, and the worker let go of while a search runs leaves no thread behind.
TEST(SearchWorkerTest, AnswersAsTheComputerPlayerTheLastAskedWinsAndAStopDropsTheAnswer) {
    const TBoard threePliesIn =
        BoardFromRows("......../......../..OX..../..XXX.../...XO...", cellWhite);
    const std::unique_ptr<TSearchWorker> worker = MakeSearchWorker();
    EXPECT_TRUE(worker->Finished()) << "no search yet";
    worker->Start(MakeSearchRequest(TBoard(), TSearchKind::Level, 9));
    worker->Start(MakeSearchRequest(threePliesIn, TSearchKind::Level, 7));
    worker->Wait();
    ASSERT_TRUE(worker->Finished());
    const TSearchReply reply = worker->Reply();
    EXPECT_TRUE(reply.Answered && reply.Move);
    TSage sage;
    sage.SetLevel(7);
    int x = -1, y = -1;
    ASSERT_TRUE(sage.Think(threePliesIn, &x, &y));
    EXPECT_EQ(std::pair(reply.X, reply.Y), std::pair(x, y));
    worker->Stop();
    EXPECT_FALSE(worker->Reply().Answered) << "an answer no longer wanted was still given";
    worker->Start(MakeSearchRequest(TBoard(), TSearchKind::Level, 9));
}

} // namespace
