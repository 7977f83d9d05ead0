#pragma once

#include "scene/BoardGeometry.h"

#include <cstdint>

// Every schedule the game scene hands to the models, the camera and the point light. Nothing
// here moves anything directly: each call sets values and appends timed segments, and the models
// follow them by the clock when they are read.
// Where things stand is in scene/BoardGeometry.h. Rotations in degrees.

inline constexpr uint32_t kGlideMs = 100;        // pointer glide, camera return
inline constexpr uint32_t kSpinTurnMs = 2000;    // one full turn of the pointer
inline constexpr uint32_t kFlipRestMs = 1000;    // a turned disc rests this long before turning
inline constexpr uint32_t kFlipTurnMs = 1000;    // ... and turns over within this
inline constexpr uint32_t kRingDelayMs = 200;    // each step of distance from the new disc
inline constexpr uint32_t kMoveWaitMs = 1000;    // wait after a pass, or a move turning nothing
inline constexpr uint32_t kViewStepMs = 200;     // one step of the free view
inline constexpr double kPlayEyeRadius = 2000.0; // the play view's eye: its radius,
inline constexpr double kPlayEyeHeight = 2000.0; // ... and height
inline constexpr int kPlayEyeStep = 6;           // ... and its step of the 32 round the board
inline constexpr uint32_t kTakeBackTurnMs = 600; // a taken-back disc turns or rises within this
inline constexpr uint32_t kTakeBackWaitMs = 700; // ... and the shown board follows after this

// A new game: the discs of g_gameBoard, material and ambient light, the point light over the
// centre, and the camera flown in kGlideMs to the play view (which ends the title's orbit).
void StartGameAnimation();

// The pointer glides in kGlideMs to the square under the cursor; the light follows it.
void StartPointerGlide();

// The pointer shows and turns once every kSpinTurnMs until stopped; stopping hides it.
void StartPointerSpin();
void StopPointerSpin();

// The animation of the move in g_lastMove, from g_shownBoard (before) to g_gameBoard (after):
// the turned discs flip in rings spreading from the new disc, the new disc falls, the camera
// swoops to it and back, and the sounds are requested with their delays. Sets g_waitTime to the
// end of the last flip; the camera arrives back exactly then. At AnimationSpeed Fast the camera
// stays where it is and the fall, the wave and their sounds run at three tenths of the time.
void StartMoveAnimation();

// A move taken back, from g_shownBoard (before) to g_gameBoard (the earlier position): the discs
// that change turn back and the discs of squares now empty rise and spin away, all at once; a
// swish sounds when any disc turns. Sets g_waitTime to kTakeBackWaitMs. The discs that rose are
// hidden by SettleTakenBackDiscs once the wait is over.
void StartTakeBackAnimation();

// Shows exactly the discs of g_gameBoard's occupied squares, the others resting hidden.
void SettleTakenBackDiscs();

// One frame of the free view while Control is held: the arrows turn and raise the eye.
void StepFreeView();

// Control released: the eye returns to the play view in kGlideMs.
void ReturnFromFreeView();
