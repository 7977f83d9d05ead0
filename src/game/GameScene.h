#pragma once

#include <cstdint>

#include "engine/Reversiutil.h"
#include "engine/SearchWorker.h"
#include "engine/discsage.h"

// The game scene: one game's turn machine, run once per frame while g_scene is sceneGame.
// It reads the seven logical keys, applies moves and passes to g_gameBoard at once, and shows
// them through the animations of GameAnimation.h; g_shownBoard (what the counts, the side to move
// and the pass banner are read from) catches up only when a move's animation is over.

enum TPlayerType : int {
    playerHuman = 0,
    playerComputer = 1,
};

// The last move played, human or computer; the computer's answer arrives here too, and `ready`
// tells whether it has: false from the request until the first frame after the search is over.
struct TLastMove {
    int x = 0; // column 0..7
    int y = 0; // row 0..7
    bool isPass = false;
    bool ready = false;
};

extern TBoard g_gameBoard;  // the game in play; moves land here at once
extern TBoard g_shownBoard; // what the player sees; a copy taken after each animation
extern TSage g_sage;        // the computer player; level 5 until the level screen sets one
extern int g_playerType[3]; // indexed by cellBlack / cellWhite; index 0 unused
extern int g_cursorX;       // board cursor, column 0..7; kept from game to game
extern int g_cursorY;       // board cursor, row 0..7
extern TLastMove g_lastMove;
extern uint32_t g_waitTime; // ms that gsWait lets pass before the shown board catches up
extern int g_viewStep;      // free view: eye position on a circle of 32 steps
extern int g_viewHeight;    // free view: eye height in world units
extern bool g_moveSoundToggle;
extern bool g_takingBack; // the wait under way shows a move being taken back

// One frame of the game scene; called by the frame loop after the input poll.
void RunGameScene();

// A real step of the cursor sounds, alternating the two cursor buffers.
void PlayCursorStep();

// Where the computer searches. The frame loop's owner hands in the build's worker and takes it
// back (null) before it destroys it; without one every search runs inside its frame.
void SetSearchWorker(TSearchWorker* worker);
TSearchWorker& SearchWorker();

// Starts g_sage's search for the side to move, on copies of g_sage and g_gameBoard taken now,
// and marks `move` not ready. The frames go on while it runs; nothing of the game waits for it.
void RequestComputerMove(TLastMove& move);
// Once the search asked for last is over: its answer in `move` (the square, or isPass), `ready`
// set, and true. False while it still runs. Called once a frame by the computer's turn, so the
// answer is played in the first frame after it is found.
bool CollectComputerMove(TLastMove& move);

// The end of a game as the players see it: the banner text and the sound that goes with it.
struct TGameResult {
    const char* Text;
    int Sound; // a SoundId
};
TGameResult GetGameResult(const TBoard& board, const int playerType[3]);
