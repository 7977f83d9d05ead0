#include "game/GameHint.h"

#include "game/GameAids.h"
#include "game/GameAnimation.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/ScreenInput.h"

namespace {

TSearchWorker* g_hintWorker = nullptr;

// The question under way. `Running` while its search may still answer; `Waiting` while it
// waits for a search dropped earlier to end before it can start.
struct THintQuestion {
    bool Running = false;
    bool Waiting = false;
    TBoard Board;
};
THintQuestion g_question;

TSearchWorker& HintWorker() {
    static TInlineSearchWorker inlineWorker;
    return g_hintWorker != nullptr ? *g_hintWorker : inlineWorker;
}

bool HumanChooses() {
    return g_gameState == gsHuman || g_gameState == gsView;
}

// A search dropped earlier runs to its end first: starting over it would make the frame wait.
void StartWhenFree() {
    if (!HintWorker().Finished()) {
        g_question.Waiting = true;
        return;
    }
    g_question.Waiting = false;
    g_question.Running = true;
    HintWorker().Start(HintRequest(g_question.Board));
}

void GlideTo(const TSearchReply& reply) {
    if (!reply.Answered || !reply.Move) {
        return;
    }
    g_cursorX = reply.X;
    g_cursorY = reply.Y;
    StartPointerGlide();
    PlayCursorStep();
}

} // namespace

void SetHintWorker(TSearchWorker* worker) {
    ForgetHint();
    if (g_hintWorker != nullptr) {
        g_hintWorker->Wait();
    }
    g_hintWorker = worker;
}

void AskForHint() {
    const bool asked = g_question.Running || g_question.Waiting;
    if (asked && SamePosition(g_question.Board, g_gameBoard)) {
        return;
    }
    ForgetHint();
    g_question.Board = g_gameBoard;
    StartWhenFree();
}

void RunHint() {
    if (!g_question.Running && !g_question.Waiting) {
        return;
    }
    if (!SamePosition(g_question.Board, g_gameBoard)) {
        ForgetHint();
        return;
    }
    if (g_question.Waiting) {
        StartWhenFree();
    }
    if (!g_question.Running || !HumanChooses() || !HintWorker().Finished()) {
        return;
    }
    g_question.Running = false;
    GlideTo(HintWorker().Reply());
}

void ForgetHint() {
    if (g_question.Running) {
        HintWorker().Stop();
    }
    g_question.Running = false;
    g_question.Waiting = false;
}
