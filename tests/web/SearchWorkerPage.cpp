// The browser's search worker against the inline search, beside the site's worker files: the
// same moves from the opening to the endgame at several levels, every answer from the Web Worker
// while the page's thread went on; a stopped search gives no answer and the worker that replaces
// it answers the next one right.

#include <emscripten.h>

#include <algorithm>
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

// Whether the worker's answer, waited for while the browser has the thread, is the inline one's.
bool SameAsInline(TSearchWorker& worker, const TSearchRequest& request, int* waits) {
    const std::atomic<bool> go{false};
    const TSearchReply expected = AnswerSearch(request, go);
    worker.Start(request);
    for (*waits = 0; !worker.Finished(); ++*waits) {
        emscripten_sleep(kPollMs);
    }
    const TSearchReply reply = worker.Reply();
    const bool same = reply.Answered && reply.Move == expected.Move &&
                      (!reply.Move || (reply.X == expected.X && reply.Y == expected.Y));
    std::printf("worker %d,%d (move %d), inline %d,%d (move %d): %s\n", reply.X, reply.Y,
                reply.Move, expected.X, expected.Y, expected.Move, same ? "same" : "DIFFERENT");
    return same;
}

} // namespace

int main() {
    std::unique_ptr<TSearchWorker> worker = MakeSearchWorker();
    int failures = 0;
    int asked = 0;
    int longestWaits = 0;
    for (const int plies : {2, 11, 24, 37, 46, 52}) {
        for (const int level : {1, 5, 8, 9}) {
            std::printf("after %d plies, level %d: ", plies, level);
            int waits = 0;
            const auto request = MakeSearchRequest(PositionAfter(plies), TSearchKind::Level, level);
            failures += SameAsInline(*worker, request, &waits) ? 0 : 1;
            longestWaits = std::max(waits, longestWaits);
            ++asked;
        }
    }
    const int replies = RepliesFromWorkers();
    std::printf("%d requests, %d replies from the Web Worker, up to %d waits of the page\n", asked,
                replies, longestWaits);
    failures += replies != asked || longestWaits == 0 ? 1 : 0;

    // Stopped as soon as it starts: no answer; a new worker answers the next in full.
    worker->Start(MakeSearchRequest(PositionAfter(20), TSearchKind::Level, 9));
    worker->Stop();
    failures += worker->Finished() && !worker->Reply().Answered ? 0 : 1;
    int waits = 0;
    const auto next = MakeSearchRequest(PositionAfter(30), TSearchKind::Level, 7);
    failures += SameAsInline(*worker, next, &waits) && RepliesFromWorkers() == replies + 1 ? 0 : 1;
    std::printf("search worker test: %s\n", failures == 0 ? "passed" : "failed");
    ReportDone(failures);
    return 0;
}
