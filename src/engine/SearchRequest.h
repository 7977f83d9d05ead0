#pragma once

#include <atomic>
#include <cstdint>

#include "engine/FastBoard.h"
#include "engine/Reversiutil.h"

// One question for the engine and its answer, as plain values, so that a thread of its own or
// another module (the browser's worker) can answer it as well as the caller's own frame.

enum class TSearchKind : std::int32_t {
    Level = 0,     // the move the computer player of `Level` chooses
    Exact = 1,     // the exact solver's best move and the final score it leads to
    ExactMove = 2, // the exact final score after the move on `Square`, from the mover's side
};

struct TSearchRequest {
    TBitboard Black = kFastInitialBlack; // square (x, y) is bit y * 8 + x
    TBitboard White = kFastInitialWhite;
    bool BlackToMove = true;
    std::int32_t Passes = 0; // passes in a row just before this position: 0 or 1
    TSearchKind Kind = TSearchKind::Level;
    std::int32_t Level = 0;  // for TSearchKind::Level: a level the computer player takes
    std::int32_t Square = 0; // for TSearchKind::ExactMove: a legal move, bit y * 8 + x
};

struct TSearchReply {
    bool Answered = false; // false: the search was stopped before it had an answer
    bool Move = false;     // false: the side to move has no legal move (it must pass)
    std::int32_t X = 0;    // the move's column and row, when Move
    std::int32_t Y = 0;
    // For the exact kinds: the final disc difference with best play from the side to move (for
    // ExactMove, the mover), the empty squares of a game that ends early going to the winner.
    std::int32_t Score = 0;
};

// The question about the position on `board`, for the side to move there.
TSearchRequest MakeSearchRequest(const TBoard& board, TSearchKind kind, int level);

// The board a request asks about: its discs and its side to move.
TBoard RequestBoard(const TSearchRequest& request);

// Answers `request` on the caller's thread. `stop`, when it is raised, ends a long search early:
// the reply then says it has no answer. A computer player's search is short and runs to its end;
// an exact solve reads `stop` as it runs. An ExactMove request for a square that is not a legal
// move gets no answer.
TSearchReply AnswerSearch(const TSearchRequest& request, const std::atomic<bool>& stop);
