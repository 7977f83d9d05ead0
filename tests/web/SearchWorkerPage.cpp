// The browser's search worker against the engine answering inline, in a page of its own with the
// site's worker files beside it: the same moves on positions from the opening to the endgame at
// several levels; every answer really came from the Web Worker, while the page's thread went on;
// a stopped search gives no answer and the worker that replaces it answers the next one right.
// Prints one line per check and, last, "search worker test: passed" or "... failed".

#include <emscripten.h>

#include <cstdio>
#include <memory>

#include "engine/SearchWorker.h"
#include "engine/discsage.h"

namespace {

constexpr unsigned kPollMs = 2;

// clang-format off
EM_JS(int, RepliesFromWorkers, (), {
    return Module['octavaneSearch'] ? Module['octavaneSearch'].replies : -1;
});
EM_JS(void, ReportDone, (int failures), {
    window.searchTestDone = true;
    window.searchTestFailures = failures;
});
// clang-format on

// Plays `plies` plies of level 1 against itself from the start.
TBoard PositionAfter(int plies) {
    TBoard board;
    TSage sage;
    sage.SetLevel(1);
    for (int i = 0; i < plies && !board.IsGameOver(); ++i) {
        int x = 0, y = 0;
        if (sage.Think(board, &x, &y)) {
            board.Place(x, y);
        } else {
            board.Pass();
        }
    }
    return board;
}

// Waits for the worker's answer, giving the browser the thread meanwhile; the number of waits.
int AwaitReply(TSearchWorker& worker) {
    int waits = 0;
    while (!worker.Finished()) {
        emscripten_sleep(kPollMs);
        ++waits;
    }
    return waits;
}

} // namespace

int main() {
    int failures = 0;
    std::unique_ptr<TSearchWorker> worker = MakeSearchWorker();
    const int pliesList[] = {2, 11, 24, 37, 46, 52};
    const int levels[] = {1, 5, 8, 9};
    int asked = 0;
    int longestWaits = 0;
    for (const int plies : pliesList) {
        const TBoard board = PositionAfter(plies);
        for (const int level : levels) {
            const TSearchRequest request = MakeSearchRequest(board, TSearchKind::Level, level);
            const std::atomic<bool> go{false};
            const TSearchReply inlineReply = AnswerSearch(request, go);
            worker->Start(request);
            ++asked;
            const int waits = AwaitReply(*worker);
            longestWaits = waits > longestWaits ? waits : longestWaits;
            const TSearchReply reply = worker->Reply();
            const bool same =
                reply.Answered && reply.Move == inlineReply.Move &&
                (!reply.Move || (reply.X == inlineReply.X && reply.Y == inlineReply.Y));
            std::printf("after %d plies, level %d: worker %d,%d%s, inline %d,%d%s: %s\n", plies,
                        level, reply.X, reply.Y, reply.Move ? "" : " (pass)", inlineReply.X,
                        inlineReply.Y, inlineReply.Move ? "" : " (pass)",
                        same ? "same" : "DIFFERENT");
            failures += same ? 0 : 1;
        }
    }
    const int replies = RepliesFromWorkers();
    std::printf("%d requests, %d replies from the Web Worker, up to %d waits of the page\n", asked,
                replies, longestWaits);
    if (replies != asked || longestWaits == 0) {
        std::printf(
            "FAILED: the answers did not all come from the worker, off the page's thread\n");
        ++failures;
    }

    // A search stopped as soon as it starts: no answer; the next request is answered in full.
    const TBoard middle = PositionAfter(20);
    worker->Start(MakeSearchRequest(middle, TSearchKind::Level, 9));
    worker->Stop();
    const bool stopped = worker->Finished() && !worker->Reply().Answered;
    const TSearchRequest next = MakeSearchRequest(PositionAfter(30), TSearchKind::Level, 7);
    const std::atomic<bool> go{false};
    const TSearchReply expected = AnswerSearch(next, go);
    worker->Start(next);
    AwaitReply(*worker);
    const TSearchReply after = worker->Reply();
    const bool answered = after.Answered && after.Move == expected.Move && after.X == expected.X &&
                          after.Y == expected.Y && RepliesFromWorkers() == replies + 1;
    std::printf("stopped: %s; the next search after the stop: %s\n",
                stopped ? "no answer" : "WRONG",
                answered ? "same as inline, from the new worker" : "WRONG");
    failures += (stopped ? 0 : 1) + (answered ? 0 : 1);

    worker.reset();
    std::printf("search worker test: %s\n", failures == 0 ? "passed" : "failed");
    ReportDone(failures);
    return 0;
}
