#include "game/GameScene.h"

#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "game/GameAids.h"
#include "game/GameAnimation.h"
#include "game/GameHistory.h"
#include "game/GameOverlay.h"
#include "game/GameState.h"
#include "game/ScreenInput.h"
#include "platform/Clock.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

TBoard g_gameBoard;
TBoard g_shownBoard;
TSage g_sage;
int g_playerType[3] = {playerHuman, playerHuman, playerHuman};
int g_cursorX = 3;
int g_cursorY = 3;
TLastMove g_lastMove;
uint32_t g_waitTime = 0;
int g_viewStep = kPlayEyeStep;
int g_viewHeight = static_cast<int>(kPlayEyeHeight);
bool g_moveSoundToggle = false;
bool g_takingBack = false;

namespace {

static_assert(kBoardSide == kBoardSize, "the models and the rules share one board");
constexpr int kLastSquare = kBoardSide - 1;

void SetGameState(int state) {
    g_gameState = state;
    g_stateTime = GetTickCount();
}

// Each real step of the cursor sounds, alternating the two cursor buffers.
void PlayCursorStep() {
    PlaySound(g_moveSoundToggle ? sndMove : sndMove2, 0);
    g_moveSoundToggle = !g_moveSoundToggle;
}

// The computer's answer as its search leaves it; written only by the search job while it runs.
struct TComputerAnswer {
    bool Move = false; // false: the side to move passes
    int X = 0;
    int Y = 0;
};
TComputerAnswer g_answer;
TSearchWorker* g_searchWorker = nullptr;

// The arrows move the cursor in every state; each press glides the pointer there, even
// at the edge, and each real step sounds.
void MoveCursor() {
    if (Triggered(keyControl)) {
        return;
    }
    struct TStep {
        int Key;
        int* Coordinate;
        int Delta;
    };
    const TStep steps[4] = {{keyLeft, &g_cursorX, -1},
                            {keyRight, &g_cursorX, +1},
                            {keyUp, &g_cursorY, -1},
                            {keyDown, &g_cursorY, +1}};
    bool moved = false;
    for (const TStep& step : steps) {
        if (!Triggered(step.Key)) {
            continue;
        }
        const int next = *step.Coordinate + step.Delta;
        if (next >= 0 && next <= kLastSquare) {
            *step.Coordinate = next;
            moved = true;
        }
        StartPointerGlide();
    }
    if (moved) {
        PlayCursorStep();
    }
}

// The mouse puts the cursor on the square under it, as the camera shows the board in
// this frame, when it moves or clicks; the pointer glides and the step sounds only when the
// square changes. Off the board nothing changes. Unlike the arrows it also points during the
// free view, which it does not steer. True when the mouse is over a square this frame.
bool PointWithMouse() {
    if (!(g_mouse.Moved || g_mouse.LeftClick || g_mouse.RightClick)) {
        return false;
    }
    int column = 0;
    int row = 0;
    if (!SquareUnderMouse(g_mouse, column, row)) {
        return false;
    }
    if (column != g_cursorX || row != g_cursorY) {
        g_cursorX = column;
        g_cursorY = row;
        StartPointerGlide();
        PlayCursorStep();
    }
    return true;
}

// The mouse as the game's actions: a left click on a square is Space there, and anywhere on
// the result; a right click anywhere is Enter.
void FollowMouse() {
    const bool onSquare = PointWithMouse();
    if (g_mouse.LeftClick && (onSquare || g_gameState == gsResult)) {
        TriggerByMouse(keySpace);
    }
    if (g_mouse.RightClick) {
        TriggerByMouse(keyEnter);
    }
}

void ToggleMoveMarks() {
    if (Triggered(keyMarks)) {
        ShowMoves = ShowMoves == 0 ? 1 : 0;
    }
}

void RunStart() {
    ClearGameHistory();
    g_takingBack = false;
    g_gameBoard = TBoard();
    g_shownBoard = g_gameBoard;
    StartGameAnimation();
    // The pointer sits over the cursor from the first turn on, not wherever it last was.
    StartPointerGlide();
    PlaySound(sndLeady, 0);
    g_waitTime = kMoveWaitMs;
    SetGameState(gsWait);
}

void RunNextTurn() {
    if (g_gameBoard.IsGameOver()) {
        PlaySound(GetGameResult(g_gameBoard, g_playerType).Sound, 0);
        SetGameState(gsResult);
        return;
    }
    if (g_playerType[g_gameBoard.GetTurn()] == playerComputer) {
        RequestComputerMove(g_lastMove);
        SetGameState(gsComputer);
        return;
    }
    StartPointerSpin();
    SetGameState(gsHuman);
}

void RunComputer() {
    if (!CollectComputerMove(g_lastMove)) {
        return;
    }
    RecordGamePosition(g_gameBoard);
    if (g_lastMove.isPass) {
        g_gameBoard.Pass();
    } else {
        g_gameBoard.Place(g_lastMove.x, g_lastMove.y);
    }
    SetGameState(gsAnimate);
}

// Undo: back to the human's previous turn, or a dull knock when there is nothing to take back.
void TakeBack() {
    TBoard restored;
    if (!TakeBackMove(g_playerType, restored)) {
        PlaySound(sndDown, 0);
        return;
    }
    g_gameBoard = restored;
    StopPointerSpin();
    StartTakeBackAnimation();
    g_takingBack = true;
    SetGameState(gsWait);
}

// The hint: the cursor glides to level 8's choice; nothing is played.
void ShowHint() {
    // The hint searches with the same engine as the computer: a search the player walked away
    // from (by leaving a game) ends first.
    SearchWorker().Wait();
    int column = 0;
    int row = 0;
    if (FindHint(g_gameBoard, column, row)) {
        g_cursorX = column;
        g_cursorY = row;
        StartPointerGlide();
        PlayCursorStep();
    }
}

void RunHuman() {
    if (Triggered(keySpace) && g_gameBoard.CanPlace(g_cursorX, g_cursorY)) {
        RecordGamePosition(g_gameBoard);
        g_gameBoard.Place(g_cursorX, g_cursorY);
        g_lastMove.x = g_cursorX;
        g_lastMove.y = g_cursorY;
        g_lastMove.isPass = false;
        StopPointerSpin();
        SetGameState(gsAnimate);
    } else if (Triggered(keyEnter) && g_gameBoard.MustPass()) {
        RecordGamePosition(g_gameBoard);
        g_gameBoard.Pass();
        g_lastMove.isPass = true;
        StopPointerSpin();
        SetGameState(gsAnimate);
    } else if (Triggered(keyControl)) {
        g_viewStep = kPlayEyeStep;
        g_viewHeight = static_cast<int>(kPlayEyeHeight);
        g_gameState = gsView; // the view's transitions leave g_stateTime alone
    } else if (Triggered(keyUndo)) {
        TakeBack();
    } else if (Triggered(keyHint)) {
        ShowHint();
    }
}

void RunView() {
    if (Triggered(keyControl)) {
        StepFreeView();
        return;
    }
    ReturnFromFreeView();
    g_gameState = gsNextTurn;
}

void RunAnimate() {
    g_waitTime = kMoveWaitMs;
    if (!g_lastMove.isPass) {
        StartMoveAnimation();
    }
    SetGameState(gsWait);
}

void RunWait() {
    if (GetTickCount() - g_stateTime > g_waitTime) {
        if (g_takingBack) {
            SettleTakenBackDiscs();
            g_takingBack = false;
        }
        g_shownBoard = g_gameBoard;
        SetGameState(gsNextTurn);
    }
}

void RunResult() {
    if (Triggered(keySpace)) {
        ReturnToTitle();
    }
}

void RunState() {
    switch (g_gameState) {
    case gsStart:
        RunStart();
        break;
    case gsNextTurn:
        RunNextTurn();
        break;
    case gsComputer:
        RunComputer();
        break;
    case gsHuman:
        RunHuman();
        break;
    case gsView:
        RunView();
        break;
    case gsAnimate:
        RunAnimate();
        break;
    case gsWait:
        RunWait();
        break;
    case gsResult:
        RunResult();
        break;
    default:
        break;
    }
}

void RenderModels() {
    g_boardModel->Render();
    // The marks lie on the board, under any disc; only while a human chooses.
    if (ShowMoves != 0 && (g_gameState == gsHuman || g_gameState == gsView)) {
        RenderMoveMarks(g_gameBoard);
    }
    for (int i = 0; i < kPieceCount; ++i) {
        g_pieces[i]->Render();
    }
    g_pointer->Render();
}

} // namespace

void SetSearchWorker(TSearchWorker* worker) {
    if (g_searchWorker != nullptr) {
        g_searchWorker->Wait();
    }
    g_searchWorker = worker;
}

TSearchWorker& SearchWorker() {
    static TInlineSearchWorker inlineWorker;
    return g_searchWorker != nullptr ? *g_searchWorker : inlineWorker;
}

void RequestComputerMove(TLastMove& move) {
    move.isPass = false;
    move.ready = false;
    TSearchWorker& worker = SearchWorker();
    // A search left behind by an earlier game writes its answer where this one will: it ends
    // before this one starts.
    if (!worker.Finished()) {
        worker.Wait();
    }
    g_answer = TComputerAnswer{};
    worker.Start([sage = g_sage, board = g_gameBoard] {
        g_answer.Move = sage.Think(board, &g_answer.X, &g_answer.Y);
    });
}

bool CollectComputerMove(TLastMove& move) {
    if (move.ready) {
        return true;
    }
    if (!SearchWorker().Finished()) {
        return false;
    }
    if (g_answer.Move) {
        move.x = g_answer.X;
        move.y = g_answer.Y;
    } else {
        move.isPass = true;
    }
    move.ready = true;
    return true;
}

TGameResult GetGameResult(const TBoard& board, const int playerType[3]) {
    const int black = board.GetCount(cellBlack);
    const int white = board.GetCount(cellWhite);
    if (black == white) {
        return {"Draw!", sndWin};
    }
    const bool blackHuman = playerType[cellBlack] == playerHuman;
    const bool whiteHuman = playerType[cellWhite] == playerHuman;
    if (blackHuman != whiteHuman) {
        const int human = blackHuman ? black : white;
        const int computer = blackHuman ? white : black;
        return human > computer ? TGameResult{"You Win!", sndWin}
                                : TGameResult{"You Lose!", sndLose};
    }
    return {black > white ? "Black Win!" : "White Win!", sndWin};
}

void RunGameScene() {
    // The cursor.
    MoveCursor();
    // The moving light and the camera send their current values to the device.
    g_lights[1]->Update();
    g_camera->Update();
    // The mouse, through the matrices the camera has just given the device; L toggles
    // the legal-move marks.
    FollowMouse();
    ToggleMoveMarks();
    // The light hovers over the pointer from the next frame on.
    g_lights[1]->Position.X.SetValue(g_pointer->Position.X.GetValue());
    g_lights[1]->Position.Y.SetValue(g_pointer->Position.Y.GetValue());
    // The turn machine.
    RunState();
    // The models; hidden ones draw nothing.
    RenderModels();
    // The text over them.
    DrawGameOverlay();
}
