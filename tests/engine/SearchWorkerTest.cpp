#include "ComparePositions.h"

#include <gtest/gtest.h>

#include <utility>

#include "engine/SearchWorker.h"
#include "engine/discsage.h"

namespace {

std::pair<int, int> SagesMove(const TBoard& board, int level) {
    TSage sage;
    sage.SetLevel(level);
    int x = -1, y = -1;
    return sage.Think(board, &x, &y) ? std::pair(x, y) : std::pair(-1, -1);
}

std::pair<int, int> MoveOf(const TSearchReply& reply) {
    return reply.Move ? std::pair(reply.X, reply.Y) : std::pair(-1, -1);
}

// A board three plies in, White to move, to ask about.
TBoard ThreePliesIn() {
    return BoardFromRows("......../......../..OX..../..XXX.../...XO...", cellWhite);
}

// The build's worker answers as the computer player does once it says it has finished, and a
// search left running when the next is asked for never leaks its answer into the next; a stop
// drops the answer, and the worker let go of while a search runs leaves no thread behind. (The
// game's whole-game test plays through the inline worker of a build without threads.)
TEST(SearchWorkerTest, AnswersAsTheComputerPlayerTheLastAskedWinsAndAStopDropsTheAnswer) {
    const std::unique_ptr<TSearchWorker> worker = MakeSearchWorker();
    EXPECT_TRUE(worker->Finished()) << "no search yet";
    worker->Start(MakeSearchRequest(TBoard(), TSearchKind::Level, 9));
    worker->Start(MakeSearchRequest(ThreePliesIn(), TSearchKind::Level, 7));
    worker->Wait();
    ASSERT_TRUE(worker->Finished());
    EXPECT_TRUE(worker->Reply().Answered);
    EXPECT_EQ(MoveOf(worker->Reply()), SagesMove(ThreePliesIn(), 7));
    worker->Stop();
    EXPECT_FALSE(worker->Reply().Answered) << "an answer no longer wanted was still given";
    worker->Start(MakeSearchRequest(TBoard(), TSearchKind::Level, 9));
}

} // namespace
