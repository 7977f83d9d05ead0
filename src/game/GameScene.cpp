#include "game/GameScene.h"

#include <string>
#include <vector>

#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "game/GameAids.h"
#include "game/GameAnalysis.h"
#include "game/GameAnimation.h"
#include "game/GameHint.h"
#include "game/GameHistory.h"
#include "game/GameOverlay.h"
#include "game/GameRecord.h"
#include "game/GameState.h"
#include "game/KeptGame.h"
#include "game/ScreenInput.h"
#include "platform/Clipboard.h"
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
// Far more than a record of 60 moves with room between them: a clipboard full of something else
// is refused without being read through.
constexpr size_t kLongestRecordText = 4096;

void SetGameState(int state) {
    g_gameState = state;
    g_stateTime = GetTickCount();
}

TSearchWorker* g_searchWorker = nullptr;

// A redo under way: the plies after the redone move (the computer's reply, the passes) come
// from the redo line too, up to the next position where a human chooses.
bool g_redoing = false;

// The dull knock of something refused: a move where no disc may go, nothing to take back or
// to redo, a record that cannot be pasted.
void PlayKnock() {
    PlaySound(sndDown, 0);
}

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

void ToggleAids() {
    if (Triggered(keyMarks)) {
        ShowMoves = ShowMoves == 0 ? 1 : 0;
    }
    if (Triggered(keyAnalysis)) {
        ToggleAnalysis();
    }
}

void RunStart() {
    ForgetHint();
    ForgetAnalysis();
    ClearGameHistory();
    g_redoing = false;
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

bool IsHumanChoice(const TBoard& board) {
    return g_playerType[board.GetTurn()] == playerHuman && !board.MustPass();
}

// Plays the next position of the redo line as a move or a pass, with its animation; false when
// the line is empty.
bool PlayRedoPly() {
    TBoard after;
    if (!TakeRedoPosition(after)) {
        return false;
    }
    TSquare square{};
    g_lastMove.isPass = !PlyPlacedDisc(g_gameBoard, after, square);
    if (!g_lastMove.isPass) {
        g_lastMove.x = square.Column;
        g_lastMove.y = square.Row;
    }
    RecordGamePosition(g_gameBoard);
    g_gameBoard = after;
    StopPointerSpin();
    SetGameState(gsAnimate);
    return true;
}

void RunNextTurn() {
    if (g_gameBoard.IsGameOver()) {
        g_redoing = false;
        PlaySound(GetGameResult(g_gameBoard, g_playerType).Sound, 0);
        SetGameState(gsResult);
        return;
    }
    if (g_redoing) {
        if (!IsHumanChoice(g_gameBoard) && PlayRedoPly()) {
            return;
        }
        g_redoing = false;
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
    if (!TakeBackMove(g_gameBoard, g_playerType, restored)) {
        PlayKnock();
        return;
    }
    g_gameBoard = restored;
    StopPointerSpin();
    StartTakeBackAnimation();
    g_takingBack = true;
    SetGameState(gsWait);
}

// Redo: the move undo took back, with its animation, and what followed it up to the human's next
// choice; the knock when undo left nothing.
void Redo() {
    if (!PlayRedoPly()) {
        PlayKnock();
        return;
    }
    g_redoing = true;
}

// The record of the game in play goes to the clipboard; a short click says it went.
void CopyRecord() {
    TClipboard* clipboard = Clipboard();
    if (clipboard != nullptr && clipboard->SetText(GameRecordText(g_gameBoard))) {
        PlaySound(sndMove2, 0);
    } else {
        PlayKnock();
    }
}

// A record on the clipboard, pasted at the start of a two-player game, becomes the game in play:
// its position shown at once, its moves in the history for undo. Anything else is refused with
// the knock and changes nothing.
void PasteRecord() {
    const bool atStart = GameHistorySize() == 0 && g_playerType[cellBlack] == playerHuman &&
                         g_playerType[cellWhite] == playerHuman;
    TClipboard* clipboard = Clipboard();
    std::string text;
    std::vector<TSquare> moves;
    std::vector<TBoard> befores;
    TBoard final;
    if (!atStart || clipboard == nullptr || !clipboard->GetText(text) ||
        text.size() > kLongestRecordText || !ParseGameRecord(text, moves) ||
        !ReplayGameRecord(moves, befores, final)) {
        PlayKnock();
        return;
    }
    ClearGameHistory();
    for (const TBoard& before : befores) {
        RecordGamePosition(before);
    }
    g_lastMove = TLastMove{moves.back().Column, moves.back().Row, false, false};
    g_gameBoard = final;
    g_shownBoard = final;
    StopPointerSpin();
    StartGameAnimation();
    PlaySound(sndLeady, 0);
    g_waitTime = kMoveWaitMs;
    SetGameState(gsWait);
}

// The aids of a human's turn that Control may be held for: undo, redo and paste. True when one
// was asked for.
bool RunHumanShortcuts() {
    if (Triggered(keyUndo)) {
        TakeBack();
    } else if (Triggered(keyRedo)) {
        Redo();
    } else if (Triggered(keyPaste)) {
        PasteRecord();
    } else {
        return false;
    }
    return true;
}

void RunHuman() {
    if (Triggered(keySpace) && !g_gameBoard.CanPlace(g_cursorX, g_cursorY)) {
        PlayKnock();
    } else if (Triggered(keySpace)) {
        ForgetRedo();
        RecordGamePosition(g_gameBoard);
        g_gameBoard.Place(g_cursorX, g_cursorY);
        g_lastMove.x = g_cursorX;
        g_lastMove.y = g_cursorY;
        g_lastMove.isPass = false;
        StopPointerSpin();
        SetGameState(gsAnimate);
    } else if (Triggered(keyEnter) && g_gameBoard.MustPass()) {
        ForgetRedo();
        RecordGamePosition(g_gameBoard);
        g_gameBoard.Pass();
        g_lastMove.isPass = true;
        StopPointerSpin();
        SetGameState(gsAnimate);
    } else if (RunHumanShortcuts()) {
        return; // before Control, which a shortcut holds down as well
    } else if (Triggered(keyControl)) {
        g_viewStep = kPlayEyeStep;
        g_viewHeight = static_cast<int>(kPlayEyeHeight);
        g_gameState = gsView; // the view's transitions leave g_stateTime alone
    } else if (Triggered(keyHint)) {
        AskForHint();
    }
}

void RunView() {
    // Control+Z, Control+Y, Control+V: the view goes back to the play view and the turn takes
    // the shortcut (the view's transitions leave g_stateTime alone).
    if (Triggered(keyUndo) || Triggered(keyRedo) || Triggered(keyPaste)) {
        ReturnFromFreeView();
        g_gameState = gsHuman;
        RunHumanShortcuts();
        return;
    }
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

// Control+C copies the record in any state of the game, the result included.
void RunCopy() {
    if (Triggered(keyCopy)) {
        CopyRecord();
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
    RenderAnalysisMark();
    // The last disc placed, while the marks are on and nothing is moving.
    TSquare last{};
    if (ShowMoves != 0 && g_gameState != gsAnimate && g_gameState != gsWait &&
        LastPlacedDisc(g_gameBoard, last)) {
        RenderLastMoveMark(last.Column, last.Row);
    }
    for (int i = 0; i < kPieceCount; ++i) {
        g_pieces[i]->Render();
    }
    g_pointer->Render();
}

} // namespace

void PlayCursorStep() {
    PlaySound(g_moveSoundToggle ? sndMove : sndMove2, 0);
    g_moveSoundToggle = !g_moveSoundToggle;
}

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
    // A search left behind by an earlier game is stopped by this one.
    SearchWorker().Start(MakeSearchRequest(g_gameBoard, TSearchKind::Level, g_sage.GetLevel()));
}

bool CollectComputerMove(TLastMove& move) {
    if (move.ready) {
        return true;
    }
    if (!SearchWorker().Finished()) {
        return false;
    }
    const TSearchReply reply = SearchWorker().Reply();
    if (reply.Move) {
        move.x = reply.X;
        move.y = reply.Y;
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
    // the legal-move marks, A the analysis.
    FollowMouse();
    ToggleAids();
    // The light hovers over the pointer from the next frame on.
    g_lights[1]->Position.X.SetValue(g_pointer->Position.X.GetValue());
    g_lights[1]->Position.Y.SetValue(g_pointer->Position.Y.GetValue());
    // The turn machine; the record can be copied in any state. The game as it now stands is
    // kept at once, in case the program never gets to run again.
    RunCopy();
    RunState();
    KeepGameInPlay();
    // The hint and the analysis follow the position the turn machine left.
    RunHint();
    RunAnalysis();
    // The models; hidden ones draw nothing.
    RenderModels();
    // The text over them.
    DrawGameOverlay();
    DrawAnalysisValues();
    // The page's "Back" leaves the game for the title, as Escape does, once this frame is drawn.
    if (Triggered(keyBack)) {
        ReturnToTitle();
    }
}
