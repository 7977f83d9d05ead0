#include "engine/SearchRequest.h"

#include "engine/EndgameSolver.h"
#include "engine/FastBridge.h"
#include "engine/discsage.h"

TSearchRequest MakeSearchRequest(const TBoard& board, TSearchKind kind, int level) {
    const TFastPosition position = ToFastPosition(board);
    TSearchRequest request;
    request.Black = position.Black;
    request.White = position.White;
    request.BlackToMove = position.BlackToMove;
    request.Passes = position.Passes;
    request.Kind = kind;
    request.Level = level;
    return request;
}

TBoard RequestBoard(const TSearchRequest& request) {
    TBoard board;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const TBitboard bit = FastBit(FastSquare(x, y));
            board.SetCell(x, y,
                          (request.Black & bit) != 0   ? cellBlack
                          : (request.White & bit) != 0 ? cellWhite
                                                       : cellEmpty);
        }
    }
    board.turn = request.BlackToMove ? cellBlack : cellWhite;
    board.passes = request.Passes;
    return board;
}

namespace {

TSearchReply AnswerExact(const TSearchRequest& request, const std::atomic<bool>& stop) {
    const TBitboard own = request.BlackToMove ? request.Black : request.White;
    const TBitboard opp = request.BlackToMove ? request.White : request.Black;
    TEndgameSolver solver;
    const TSolveResult result = request.Kind == TSearchKind::ExactMove
                                    ? solver.SolveMove(own, opp, request.Square, &stop)
                                    : solver.Solve(own, opp, &stop);
    TSearchReply reply;
    reply.Answered = result.Solved;
    reply.Move = result.Square >= 0;
    if (reply.Move) {
        reply.X = result.Square % kBoardSize;
        reply.Y = result.Square / kBoardSize;
    }
    reply.Score = result.Score;
    return reply;
}

} // namespace

TSearchReply AnswerSearch(const TSearchRequest& request, const std::atomic<bool>& stop) {
    if (request.Kind == TSearchKind::Exact || request.Kind == TSearchKind::ExactMove) {
        return AnswerExact(request, stop);
    }
    TSearchReply reply;
    TSage sage;
    sage.SetLevel(request.Level);
    reply.Move = sage.Think(RequestBoard(request), &reply.X, &reply.Y);
    // The computer player's search cannot be cut short; a stop asked for while it ran still
    // drops its answer, as the asker no longer wants it.
    reply.Answered = !stop.load(std::memory_order_acquire);
    return reply;
}
