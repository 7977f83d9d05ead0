#include "game/GameAnimation.h"

#include <algorithm>
#include <cstdlib>

#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "game/GameScene.h"
#include "game/ScreenInput.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

constexpr double kLightHeight = 200.0; // point light over the board during play
constexpr double kHopTopZ = 100.0;     // a turning disc hops this high
constexpr uint32_t kHopUpMs = 500;
constexpr double kFallStartZ = 1000.0; // the new disc falls from here
constexpr uint32_t kFallMs = 1000;
constexpr uint32_t kTernSoundMs = 1400; // ring k+1 sounds 200 ms after it starts to turn
constexpr uint32_t kDropSoundMs = 2100; // ... and again 100 ms before it lands
constexpr uint32_t kSwoopMs = 500;      // camera flies to the new disc, then holds
constexpr double kSwoopEyeY = 1000.0;
constexpr double kSwoopEyeZ = 500.0;
constexpr double kSwoopLookHighZ = 1000.0; // look-at follows the fall: up first ...
constexpr uint32_t kSwoopLookUpMs = 150;
constexpr uint32_t kSwoopLookDownMs = 850; // ... then down onto the landed disc
constexpr int kViewHeightStep = 100;
constexpr double kTakeBackHopZ = 60.0;   // a disc turning back hops this high
constexpr double kTakeBackRiseZ = 800.0; // a disc taken away rises this high before it goes

// Stops a value where it is now and drops what was scheduled.
void Freeze(TMovement& value) {
    value.SetValue(value.GetValue());
}

double SideUpDegrees(int cell) {
    return cell == cellWhite ? kWhiteUpDegrees : 0.0;
}

double PlayEyeX() {
    return StepCos(kPlayEyeStep) * kPlayEyeRadius;
}
double PlayEyeY() {
    return StepSin(kPlayEyeStep) * kPlayEyeRadius;
}

// The times of one move's animation. Normal is the game's own pace; Fast runs the fall and the
// wave at kFastTenths tenths of it, every sound keeping its place, and leaves the camera alone.
// Three tenths rather than a third: the longest wave (six rings) then ends at 960 ms, so every
// Fast move is over within a second.
struct TMoveTiming {
    uint32_t FallMs;
    uint32_t FlipRestMs;
    uint32_t FlipTurnMs;
    uint32_t HopUpMs;
    uint32_t RingDelayMs;
    uint32_t TernSoundMs;
    uint32_t DropSoundMs;
    bool Swoop;
};

constexpr TMoveTiming kNormalTiming = {kFallMs,      kFlipRestMs,  kFlipTurnMs,  kHopUpMs,
                                       kRingDelayMs, kTernSoundMs, kDropSoundMs, true};

constexpr uint32_t kFastTenths = 3;
constexpr uint32_t Fast(uint32_t normalMs) {
    return normalMs * kFastTenths / 10;
}
constexpr TMoveTiming kFastTiming = {
    Fast(kFallMs),      Fast(kFlipRestMs),  Fast(kFlipTurnMs),  Fast(kHopUpMs),
    Fast(kRingDelayMs), Fast(kTernSoundMs), Fast(kDropSoundMs), false};

const TMoveTiming& MoveTiming() {
    return AnimationSpeed == speedFast ? kFastTiming : kNormalTiming;
}

// Starts the turn of one captured disc, `distance` steps from the new one; returns the time the
// turn ends, counted from now.
uint32_t StartFlip(TSolid& disc, int nowCell, int distance, const TMoveTiming& timing) {
    const uint32_t delay = timing.RingDelayMs * static_cast<uint32_t>(distance);
    const uint32_t rest = delay + timing.FlipRestMs;
    const double target = SideUpDegrees(nowCell);
    disc.Rotation.X.SetValue(target - 180.0);
    disc.Rotation.X.AddSchedule(target - 180.0, rest, false);
    disc.Rotation.X.AddSchedule(target, timing.FlipTurnMs, false);
    disc.Rotation.Y.SetValue(0.0);
    disc.Rotation.Y.AddSchedule(0.0, rest, false);
    disc.Rotation.Y.AddSchedule(360.0, timing.FlipTurnMs, false);
    disc.Rotation.Z.SetValue(-180.0);
    disc.Rotation.Z.AddSchedule(-180.0, rest, false);
    disc.Rotation.Z.AddSchedule(360.0, timing.FlipTurnMs, false);
    disc.Position.Z.SetValue(2.0 * kRestingDiscZ);
    disc.Position.Z.AddSchedule(kRestingDiscZ, rest, false);
    disc.Position.Z.AddSchedule(kHopTopZ, timing.HopUpMs, false);
    disc.Position.Z.AddSchedule(kRestingDiscZ, timing.FlipTurnMs - timing.HopUpMs, false);
    return rest + timing.FlipTurnMs;
}

// The move animation's flip wave: returns the largest distance of a turned disc (0 if none).
int StartFlipWave(const TMoveTiming& timing) {
    int farthest = 0;
    for (int row = 0; row < kBoardSide; ++row) {
        for (int column = 0; column < kBoardSide; ++column) {
            const int before = g_shownBoard.GetCell(column, row);
            const int now = g_gameBoard.GetCell(column, row);
            if (before == cellEmpty || before == now) {
                continue;
            }
            const int distance = row == g_lastMove.y ? std::abs(g_lastMove.x - column)
                                                     : std::abs(g_lastMove.y - row);
            const uint32_t end =
                StartFlip(*g_pieces[PieceIndex(column, row)], now, distance, timing);
            g_waitTime = std::max(g_waitTime, end);
            farthest = std::max(farthest, distance);
        }
    }
    return farthest;
}

void StartFall(TSolid& disc, int cell, uint32_t fallMs) {
    disc.Visible = true;
    disc.Rotation.X.SetValue(SideUpDegrees(cell));
    disc.Rotation.Y.SetValue(0.0);
    disc.Rotation.Y.AddSchedule(360.0, fallMs, false);
    disc.Position.Z.SetValue(kFallStartZ);
    disc.Position.Z.AddSchedule(kRestingDiscZ, fallMs, false);
}

// Flies there, holds, and glides back to `home`, arriving `wait` ms from now.
void Swoop(TMovement& value, double there, double home, uint32_t wait) {
    value.AddSchedule(there, kSwoopMs, false);
    value.AddSchedule(there, kSwoopMs, false);
    value.AddSchedule(home, wait - 2 * kSwoopMs, false);
}

void StartCameraSwoop(const TSolid& disc, uint32_t wait) {
    TCamera& camera = *g_camera;
    const double ex = camera.Eye.X.GetValue();
    const double ey = camera.Eye.Y.GetValue();
    const double ez = camera.Eye.Z.GetValue();
    const double tx = camera.LookAt.X.GetValue();
    const double ty = camera.LookAt.Y.GetValue();
    const double tz = camera.LookAt.Z.GetValue();
    const double px = disc.Position.X.GetValue();
    const double py = disc.Position.Y.GetValue();
    Swoop(camera.Eye.X, 0.0, ex, wait);
    Swoop(camera.Eye.Y, kSwoopEyeY, ey, wait);
    Swoop(camera.Eye.Z, kSwoopEyeZ, ez, wait);
    Swoop(camera.LookAt.X, px, tx, wait);
    Swoop(camera.LookAt.Y, py, ty, wait);
    camera.LookAt.Z.AddSchedule(kSwoopLookHighZ, kSwoopLookUpMs, false);
    camera.LookAt.Z.AddSchedule(kRestingDiscZ, kSwoopLookDownMs, false);
    camera.LookAt.Z.AddSchedule(tz, wait - 2 * kSwoopMs, false);
}

void MoveEyeToStep(int step) {
    g_camera->Eye.X.AddSchedule(StepCos(step) * kPlayEyeRadius, kViewStepMs, false);
    g_camera->Eye.Y.AddSchedule(StepSin(step) * kPlayEyeRadius, kViewStepMs, false);
}

} // namespace

void StartGameAnimation() {
    // The discs of the new position, each showing its colour.
    for (int row = 0; row < kBoardSide; ++row) {
        for (int column = 0; column < kBoardSide; ++column) {
            const int cell = g_gameBoard.GetCell(column, row);
            TSolid& disc = *g_pieces[PieceIndex(column, row)];
            disc.Visible = cell != cellEmpty;
            disc.Rotation.X.SetValue(SideUpDegrees(cell));
        }
    }
    // The shared material and the ambient level.
    g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, kSceneAmbient);
    // The point light over the centre until the pointer takes it along.
    const TVector lightPosition{0.0f, 0.0f, static_cast<float>(kLightHeight)};
    g_lights[1]->SetPosition(lightPosition);
    // The camera to the play view; freezing ends the title's endless orbit.
    TCamera& camera = *g_camera;
    const double targets[6] = {PlayEyeX(), PlayEyeY(), kPlayEyeHeight, 0.0, 0.0, 0.0};
    TMovement* values[6] = {&camera.Eye.X,    &camera.Eye.Y,    &camera.Eye.Z,
                            &camera.LookAt.X, &camera.LookAt.Y, &camera.LookAt.Z};
    for (int i = 0; i < 6; ++i) {
        Freeze(*values[i]);
        values[i]->AddSchedule(targets[i], kGlideMs, false);
    }
}

void StartPointerGlide() {
    TSolid& pointer = *g_pointer;
    Freeze(pointer.Position.X);
    pointer.Position.X.AddSchedule(CellToWorld(g_cursorX), kGlideMs, false);
    Freeze(pointer.Position.Y);
    pointer.Position.Y.AddSchedule(CellToWorld(g_cursorY), kGlideMs, false);
}

void StartPointerSpin() {
    TSolid& pointer = *g_pointer;
    pointer.Visible = true;
    pointer.Rotation.Z.SetValue(0.0);
    pointer.Rotation.Z.AddSchedule(0.0, 0, true);
    pointer.Rotation.Z.AddSchedule(360.0, kSpinTurnMs, true);
}

void StopPointerSpin() {
    g_pointer->Visible = false;
    g_pointer->Rotation.Z.SetValue(0.0);
}

void StartMoveAnimation() {
    const TMoveTiming& timing = MoveTiming();
    // The wait lasts at least as long as the fall.
    g_waitTime = timing.FallMs;
    // The flip wave.
    const int farthest = StartFlipWave(timing);
    // Ring k sounds as it turns and again as it lands; one buffer per ring.
    for (int k = 0; k < farthest; ++k) {
        const uint32_t offset = timing.RingDelayMs * static_cast<uint32_t>(k);
        PlaySound(sndTern + k, timing.TernSoundMs + offset);
        PlaySound(sndDrop + k, timing.DropSoundMs + offset);
    }
    // The new disc falls onto its square.
    TSolid& disc = *g_pieces[PieceIndex(g_lastMove.x, g_lastMove.y)];
    StartFall(disc, g_gameBoard.GetCell(g_lastMove.x, g_lastMove.y), timing.FallMs);
    PlaySound(sndFall, 0);
    PlaySound(sndDown, timing.FallMs);
    // The camera swoops to the new disc and is back when the wait ends. A move always
    // turns at least one disc, so the wait is at least 2200 ms; the guard keeps the return
    // segment's length from wrapping should it ever be shorter.
    if (timing.Swoop) {
        StartCameraSwoop(disc, std::max(g_waitTime, 2 * kSwoopMs));
    }
}

void StepFreeView() {
    TMovement3D& eye = g_camera->Eye;
    if (Triggered(keyLeft) && eye.X.Schedule.empty()) {
        MoveEyeToStep(--g_viewStep);
    }
    if (Triggered(keyRight) && eye.X.Schedule.empty()) {
        MoveEyeToStep(++g_viewStep);
    }
    if (Triggered(keyUp) && eye.Z.Schedule.empty()) {
        g_viewHeight -= kViewHeightStep;
        eye.Z.AddSchedule(g_viewHeight, kViewStepMs, false);
    }
    if (Triggered(keyDown) && eye.Z.Schedule.empty()) {
        g_viewHeight += kViewHeightStep;
        eye.Z.AddSchedule(g_viewHeight, kViewStepMs, false);
    }
}

void ReturnFromFreeView() {
    TMovement3D& eye = g_camera->Eye;
    Freeze(eye.X);
    eye.X.AddSchedule(PlayEyeX(), kGlideMs, false);
    Freeze(eye.Y);
    eye.Y.AddSchedule(PlayEyeY(), kGlideMs, false);
    Freeze(eye.Z);
    eye.Z.AddSchedule(kPlayEyeHeight, kGlideMs, false);
}

void StartTakeBackAnimation() {
    bool turned = false;
    for (int row = 0; row < kBoardSide; ++row) {
        for (int column = 0; column < kBoardSide; ++column) {
            const int before = g_shownBoard.GetCell(column, row);
            const int after = g_gameBoard.GetCell(column, row);
            if (before == cellEmpty || before == after) {
                continue;
            }
            TSolid& disc = *g_pieces[PieceIndex(column, row)];
            if (after == cellEmpty) {
                Freeze(disc.Position.Z);
                disc.Position.Z.AddSchedule(kTakeBackRiseZ, kTakeBackTurnMs, false);
                disc.Rotation.Y.SetValue(0.0);
                disc.Rotation.Y.AddSchedule(-360.0, kTakeBackTurnMs, false);
                continue;
            }
            disc.Rotation.X.SetValue(SideUpDegrees(before));
            disc.Rotation.X.AddSchedule(SideUpDegrees(after), kTakeBackTurnMs, false);
            disc.Position.Z.SetValue(kRestingDiscZ);
            disc.Position.Z.AddSchedule(kTakeBackHopZ, kTakeBackTurnMs / 2, false);
            disc.Position.Z.AddSchedule(kRestingDiscZ, kTakeBackTurnMs / 2, false);
            turned = true;
        }
    }
    if (turned) {
        PlaySound(sndTern, 0);
    }
    g_waitTime = kTakeBackWaitMs;
}

void SettleTakenBackDiscs() {
    for (int row = 0; row < kBoardSide; ++row) {
        for (int column = 0; column < kBoardSide; ++column) {
            TSolid& disc = *g_pieces[PieceIndex(column, row)];
            const bool occupied = g_gameBoard.GetCell(column, row) != cellEmpty;
            if (!occupied) {
                disc.Position.Z.SetValue(kRestingDiscZ);
                disc.Rotation.Y.SetValue(0.0);
            }
            disc.Visible = occupied;
        }
    }
}
