#include "game/GameAnalysis.h"

#include <algorithm>
#include <cstdio>

#include "device/Setdx.h"
#include "engine/EndgameSolver.h"
#include "game/GameAids.h"
#include "game/GameAnimation.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/TextItems.h"
#include "scene/Solidring.h"

bool g_analysisOn = false;

namespace {

constexpr int kSquareCount = kBoardSize * kBoardSize;
// The values: large enough to read on the far row, small enough for "+64" to stay inside a
// square of the near row.
constexpr int kValueHeight = 20;
constexpr int kValueHalfWidth = 30;

TSearchWorker* g_analysisWorker = nullptr;

// What is known of the position analysed, and the search under way for it.
struct TAnalysis {
    bool HasBoard = false; // false: nothing analysed, nothing known
    TBoard Board;
    bool Exact = false; // the values of every legal square; else the preferred move's ring
    int Squares[kSquareCount] = {}; // the squares to value, in scan order: bit y * 8 + x
    int SquareCount = 0;
    int Next = 0;      // the next of Squares to ask about
    bool Busy = false; // a search for this position may still answer
    int BusyIndex = 0; // of Squares, when Exact
    bool Known[kSquareCount] = {};
    int Score[kSquareCount] = {};
    bool HasPreferred = false;
    int PreferredX = 0;
    int PreferredY = 0;
};
TAnalysis g_analysis;

TSearchWorker& AnalysisWorker() {
    static TInlineSearchWorker inlineWorker;
    return g_analysisWorker != nullptr ? *g_analysisWorker : inlineWorker;
}

bool HumanChooses() {
    return (g_gameState == gsHuman || g_gameState == gsView) &&
           g_playerType[g_gameBoard.GetTurn()] == playerHuman && !g_gameBoard.MustPass();
}

// The squares to value, or the one question about the preferred move.
void Plan() {
    TAnalysis& a = g_analysis;
    a = TAnalysis{};
    a.HasBoard = true;
    a.Board = g_gameBoard;
    a.Exact = g_gameBoard.GetCount(cellEmpty) <= kExactEmpties;
    if (!a.Exact) {
        a.SquareCount = 1;
        return;
    }
    for (int square = 0; square < kSquareCount; ++square) {
        if (g_gameBoard.CanPlace(square % kBoardSize, square / kBoardSize)) {
            a.Squares[a.SquareCount++] = square;
        }
    }
}

void TakeAnswer() {
    TAnalysis& a = g_analysis;
    if (!a.Busy || !AnalysisWorker().Finished()) {
        return;
    }
    a.Busy = false;
    const TSearchReply reply = AnalysisWorker().Reply();
    if (!reply.Answered) {
        return;
    }
    if (a.Exact) {
        const int square = a.Squares[a.BusyIndex];
        a.Known[square] = true;
        a.Score[square] = reply.Score;
    } else if (reply.Move) {
        a.HasPreferred = true;
        a.PreferredX = reply.X;
        a.PreferredY = reply.Y;
    }
}

// A search dropped earlier runs to its end first: starting over it would make the frame wait.
void StartNext() {
    TAnalysis& a = g_analysis;
    if (a.Busy || a.Next >= a.SquareCount || !AnalysisWorker().Finished()) {
        return;
    }
    TSearchRequest request = HintRequest(a.Board);
    if (a.Exact) {
        request.Kind = TSearchKind::ExactMove;
        request.Square = a.Squares[a.Next];
    }
    a.BusyIndex = a.Next++;
    a.Busy = true;
    AnalysisWorker().Start(request);
}

// Every square's value is known, and `square`'s is the best of them.
bool IsBest(int square) {
    const TAnalysis& a = g_analysis;
    int best = -kSquareCount;
    for (int i = 0; i < a.SquareCount; ++i) {
        if (!a.Known[a.Squares[i]]) {
            return false;
        }
        best = std::max(best, a.Score[a.Squares[i]]);
    }
    return a.Score[square] == best;
}

void DrawValue(int square) {
    double x = 0.0;
    double y = 0.0;
    if (!ScreenPointOfSquare(square % kBoardSize, square / kBoardSize, x, y)) {
        return;
    }
    char text[8];
    const int score = g_analysis.Score[square];
    std::snprintf(text, sizeof text, score == 0 ? "%d" : "%+d", score);
    const int left = static_cast<int>(x) - kValueHalfWidth;
    const int top = static_cast<int>(y) - kValueHeight / 2;
    DrawTextItem(left, top, left + 2 * kValueHalfWidth, top + kValueHeight, text,
                 IsBest(square) ? kColourGreen : kColourWhite, kFaceTimes, kValueHeight);
}

// RunAnalysis has dropped the values of any other position than the one in play.
bool Showing() {
    return g_analysisOn && g_analysis.HasBoard && HumanChooses();
}

} // namespace

void SetAnalysisWorker(TSearchWorker* worker) {
    ForgetAnalysis();
    if (g_analysisWorker != nullptr) {
        g_analysisWorker->Wait();
    }
    g_analysisWorker = worker;
}

void ToggleAnalysis() {
    g_analysisOn = !g_analysisOn;
    if (!g_analysisOn) {
        ForgetAnalysis();
    }
}

void RunAnalysis() {
    if (!g_analysisOn) {
        return;
    }
    if (g_analysis.HasBoard && !SamePosition(g_analysis.Board, g_gameBoard)) {
        ForgetAnalysis();
    }
    TakeAnswer();
    if (!HumanChooses()) {
        return;
    }
    if (!g_analysis.HasBoard) {
        Plan();
    }
    StartNext();
}

void ForgetAnalysis() {
    if (g_analysis.Busy) {
        AnalysisWorker().Stop();
    }
    g_analysis = TAnalysis{};
}

void RenderAnalysisMark() {
    if (!Showing() || g_analysis.Exact || !g_analysis.HasPreferred || g_preferredMark == nullptr) {
        return;
    }
    TSolidRing& ring = *g_preferredMark;
    ring.Visible = true;
    ring.Position.X.SetValue(CellToWorld(g_analysis.PreferredX));
    ring.Position.Y.SetValue(CellToWorld(g_analysis.PreferredY));
    ring.Render();
    ring.Visible = false;
}

void DrawAnalysisValues() {
    if (!Showing() || !g_analysis.Exact) {
        return;
    }
    for (int i = 0; i < g_analysis.SquareCount; ++i) {
        if (g_analysis.Known[g_analysis.Squares[i]]) {
            DrawValue(g_analysis.Squares[i]);
        }
    }
}
