#include <gtest/gtest.h>

#include <cmath>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "game/GameAnimation.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

TBoard EmptyBoard() {
    TBoard board;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            board.SetCell(x, y, cellEmpty);
        }
    }
    board.turn = cellBlack;
    return board;
}

// Black at (2, 2) turns (3, 2), (2, 3) and (3, 3) at distance 1 and (4, 4) at distance 2.
TBoard TwoRings() {
    TBoard board = EmptyBoard();
    board.SetCell(3, 2, cellWhite);
    board.SetCell(4, 2, cellBlack);
    board.SetCell(2, 3, cellWhite);
    board.SetCell(2, 4, cellBlack);
    board.SetCell(3, 3, cellWhite);
    board.SetCell(4, 4, cellWhite);
    board.SetCell(5, 5, cellBlack);
    return board;
}

// Black at (0, 0) turns six White discs in one line, at distances 1 to 6.
TBoard SixInALine() {
    TBoard board = EmptyBoard();
    for (int x = 1; x <= 6; ++x) {
        board.SetCell(x, 0, cellWhite);
    }
    board.SetCell(7, 0, cellBlack);
    return board;
}

class GameAnimationTest : public ::testing::Test {
  protected:
    TScreenRig Rig;

    void SetUp() override {
        g_playerType[cellBlack] = playerHuman;
        g_playerType[cellWhite] = playerHuman;
        g_scene = sceneGame;
        g_gameState = gsStart;
        Rig.Frame();
        ASSERT_TRUE(Rig.RunUntilGameState(gsHuman));
        Rig.RunFor(200); // the camera and the pointer have arrived
    }

    // Plays Black at (x, y) on `board` through the keyboard; returns the tick the wait began.
    uint32_t Play(const TBoard& board, int x, int y) {
        g_gameBoard = board;
        g_shownBoard = board;
        g_gameState = gsNextTurn;
        Rig.Frame();
        g_cursorX = x;
        g_cursorY = y;
        Rig.ClearSounds();
        Rig.Frame({keySpace});
        EXPECT_EQ(g_gameState, gsAnimate);
        Rig.Frame();
        EXPECT_EQ(g_gameState, gsWait);
        return g_stateTime;
    }

    double DelayOf(int id) const {
        const auto sounds = Rig.SoundsOf(id);
        return sounds.size() == 1 ? sounds[0].DelayMs : -1.0;
    }
};

TEST_F(GameAnimationTest, OneTurnedDiscWaits2200WithItsSounds) {
    Play(TBoard(), 3, 2);
    EXPECT_EQ(g_waitTime, 2200u);
    EXPECT_EQ(DelayOf(sndFall), 0);
    EXPECT_EQ(DelayOf(sndDown), 1000);
    EXPECT_EQ(DelayOf(sndTern), 1400);
    EXPECT_EQ(DelayOf(sndDrop), 2100);
    EXPECT_EQ(Rig.Sounds().size(), 4u);
}

TEST_F(GameAnimationTest, SixRingsWait3200AndSoundTwoHundredMsApart) {
    Play(SixInALine(), 0, 0);
    EXPECT_EQ(g_waitTime, 3200u);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(DelayOf(sndTern + k), 1400 + 200 * k) << k;
        EXPECT_EQ(DelayOf(sndDrop + k), 2100 + 200 * k) << k;
    }
    EXPECT_EQ(Rig.Sounds().size(), 14u);
}

TEST_F(GameAnimationTest, DiscsAtEqualDistanceTurnTogetherAndFartherOnesLater) {
    const uint32_t start = Play(TwoRings(), 2, 2);
    EXPECT_EQ(g_waitTime, 2400u);
    EXPECT_EQ(DelayOf(sndTern + 1), 1600);
    EXPECT_EQ(DelayOf(sndDrop + 1), 2300);
    const int ring1[3] = {2 * 8 + 3, 3 * 8 + 2, 3 * 8 + 3};
    const int ring2 = 4 * 8 + 4;
    auto expectRingTogether = [&] {
        for (int i : ring1) {
            EXPECT_DOUBLE_EQ(g_pieces[i]->Rotation.X.GetValue(),
                             g_pieces[ring1[0]]->Rotation.X.GetValue());
            EXPECT_DOUBLE_EQ(g_pieces[i]->Rotation.Z.GetValue(),
                             g_pieces[ring1[0]]->Rotation.Z.GetValue());
            EXPECT_DOUBLE_EQ(g_pieces[i]->Position.Z.GetValue(),
                             g_pieces[ring1[0]]->Position.Z.GetValue());
        }
    };
    // White turning black: from -180 (white up) to 0. Ring 1 rests 1200 ms, ring 2 200 ms
    // longer; each turns within a second and is at the top of its hop half-way.
    Rig.Clock.Set(start + 1200);
    expectRingTogether();
    EXPECT_DOUBLE_EQ(g_pieces[ring1[0]]->Rotation.X.GetValue(), -180.0);
    EXPECT_DOUBLE_EQ(g_pieces[ring1[0]]->Position.Z.GetValue(), 10.0);
    Rig.Clock.Set(start + 1700);
    expectRingTogether();
    EXPECT_DOUBLE_EQ(g_pieces[ring1[0]]->Rotation.X.GetValue(), -90.0);
    EXPECT_DOUBLE_EQ(g_pieces[ring1[0]]->Position.Z.GetValue(), 100.0);
    EXPECT_DOUBLE_EQ(g_pieces[ring2]->Rotation.X.GetValue(), -126.0);
    Rig.Clock.Set(start + 1900);
    expectRingTogether();
    EXPECT_DOUBLE_EQ(g_pieces[ring2]->Rotation.X.GetValue(), -90.0);
    EXPECT_DOUBLE_EQ(g_pieces[ring2]->Position.Z.GetValue(), 100.0);
    Rig.Clock.Set(start + 2400);
    for (int i : {ring1[0], ring1[1], ring1[2], ring2}) {
        EXPECT_DOUBLE_EQ(g_pieces[i]->Rotation.X.GetValue(), 0.0);
        EXPECT_DOUBLE_EQ(g_pieces[i]->Rotation.Z.GetValue(), 360.0);
        EXPECT_DOUBLE_EQ(g_pieces[i]->Position.Z.GetValue(), 10.0);
    }
}

TEST_F(GameAnimationTest, DiscsThatDoNotTurnAreLeftAlone) {
    Play(TwoRings(), 2, 2);
    EXPECT_TRUE(g_pieces[2 * 8 + 4]->Rotation.X.Schedule.empty()); // (4, 2) was already black
    EXPECT_TRUE(g_pieces[5 * 8 + 5]->Position.Z.Schedule.empty());
}

TEST_F(GameAnimationTest, TheNewDiscFallsForOneSecondTurningOnce) {
    const uint32_t start = Play(TBoard(), 3, 2);
    TSolid& disc = *g_pieces[2 * 8 + 3];
    EXPECT_TRUE(disc.Visible);
    EXPECT_DOUBLE_EQ(disc.Rotation.X.GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(disc.Position.Z.GetValue(), 1000.0);
    Rig.Clock.Set(start + 500);
    EXPECT_DOUBLE_EQ(disc.Position.Z.GetValue(), 505.0);
    EXPECT_DOUBLE_EQ(disc.Rotation.Y.GetValue(), 180.0);
    Rig.Clock.Set(start + 1000);
    EXPECT_DOUBLE_EQ(disc.Position.Z.GetValue(), 10.0);
}

TEST_F(GameAnimationTest, AWhiteMoveFallsWhiteSideUp) {
    TBoard board;
    board.Place(3, 2);
    const uint32_t start = Play(board, 2, 2); // White at (2, 2) turns (3, 3)
    EXPECT_EQ(g_gameBoard.GetCell(2, 2), cellWhite);
    EXPECT_DOUBLE_EQ(g_pieces[2 * 8 + 2]->Rotation.X.GetValue(), 180.0);
    Rig.Clock.Set(start + 2200);
    EXPECT_DOUBLE_EQ(g_pieces[3 * 8 + 3]->Rotation.X.GetValue(), 180.0);
}

TEST_F(GameAnimationTest, TheCameraSwoopsToTheNewDiscAndIsBackWhenTheWaitEnds) {
    const double ex = g_camera->Eye.X.GetValue();
    const double ey = g_camera->Eye.Y.GetValue();
    const uint32_t start = Play(TwoRings(), 2, 2);
    Rig.Clock.Set(start + 150);
    EXPECT_DOUBLE_EQ(g_camera->LookAt.Z.GetValue(), 1000.0);
    Rig.Clock.Set(start + 500);
    EXPECT_DOUBLE_EQ(g_camera->Eye.X.GetValue(), 0.0);
    EXPECT_DOUBLE_EQ(g_camera->Eye.Y.GetValue(), 1000.0);
    EXPECT_DOUBLE_EQ(g_camera->Eye.Z.GetValue(), 500.0);
    EXPECT_DOUBLE_EQ(g_camera->LookAt.X.GetValue(), CellToWorld(2));
    EXPECT_DOUBLE_EQ(g_camera->LookAt.Y.GetValue(), CellToWorld(2));
    Rig.Clock.Set(start + 1000);
    EXPECT_DOUBLE_EQ(g_camera->LookAt.Z.GetValue(), 10.0);
    Rig.Clock.Set(start + 2399);
    EXPECT_GT(std::abs(g_camera->Eye.X.GetValue() - ex), 0.01);
    Rig.Clock.Set(start + 2400);
    EXPECT_DOUBLE_EQ(g_camera->Eye.X.GetValue(), ex);
    EXPECT_DOUBLE_EQ(g_camera->Eye.Y.GetValue(), ey);
    EXPECT_DOUBLE_EQ(g_camera->Eye.Z.GetValue(), 2000.0);
    EXPECT_DOUBLE_EQ(g_camera->LookAt.Z.GetValue(), 0.0);
    EXPECT_TRUE(g_camera->Eye.X.Schedule.empty());
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    Rig.Clock.Set(start + 2401);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsNextTurn);
}

// --- The free view ---

TEST_F(GameAnimationTest, ControlEntersTheViewWithoutTouchingTheStateTime) {
    const uint32_t stamped = g_stateTime;
    g_viewStep = 17;
    Rig.Clock.Advance(40);
    Rig.Frame({keyControl});
    EXPECT_EQ(g_gameState, gsView);
    EXPECT_EQ(g_viewStep, 6);
    EXPECT_EQ(g_viewHeight, 2000);
    EXPECT_EQ(g_stateTime, stamped);
}

TEST_F(GameAnimationTest, LeftTurnsTheEyeOneStepPerSegment) {
    Rig.Frame({keyControl});
    Rig.Frame({keyControl, keyLeft});
    EXPECT_EQ(g_viewStep, 5);
    Rig.Clock.Advance(100);
    Rig.Frame({keyControl, keyLeft}); // the step is still under way
    EXPECT_EQ(g_viewStep, 5);
    EXPECT_EQ(g_cursorX, 3);
    Rig.Clock.Advance(100);
    Rig.Frame({keyControl});
    EXPECT_NEAR(g_camera->Eye.X.GetValue(), StepCos(5) * 2000, 1e-9);
    EXPECT_NEAR(g_camera->Eye.Y.GetValue(), StepSin(5) * 2000, 1e-9);
    // Held with Left, 32 steps make a full turn.
    Rig.RunFor(31 * 200, {keyControl, keyLeft});
    EXPECT_EQ(g_viewStep, 6 - 32);
    Rig.RunFor(200, {keyControl});
    EXPECT_NEAR(g_camera->Eye.X.GetValue(), StepCos(6) * 2000, 1e-6);
    EXPECT_NEAR(g_camera->Eye.Y.GetValue(), StepSin(6) * 2000, 1e-6);
}

TEST_F(GameAnimationTest, RightAndDownTurnAndRaiseUpLowersWithoutLimit) {
    Rig.Frame({keyControl});
    Rig.Frame({keyControl, keyRight, keyDown});
    EXPECT_EQ(g_viewStep, 7);
    EXPECT_EQ(g_viewHeight, 2100);
    Rig.RunFor(200, {keyControl});
    EXPECT_DOUBLE_EQ(g_camera->Eye.Z.GetValue(), 2100.0);
    Rig.RunFor(25 * 200, {keyControl, keyUp});
    EXPECT_EQ(g_viewHeight, 2100 - 25 * 100); // one step per 200 ms segment
    Rig.RunFor(200, {keyControl});
    EXPECT_DOUBLE_EQ(g_camera->Eye.Z.GetValue(), -400.0); // below the board
}

TEST_F(GameAnimationTest, ReleasingControlBringsTheCameraBackIn100MsAndRestartsTheSpin) {
    const uint32_t stamped = g_stateTime;
    Rig.Frame({keyControl});
    Rig.RunFor(1000, {keyControl, keyRight, keyDown});
    Rig.Clock.Advance(300);
    EXPECT_NE(g_pointer->Rotation.Z.GetValue(), 0.0);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsNextTurn);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsHuman);
    EXPECT_DOUBLE_EQ(g_pointer->Rotation.Z.GetValue(), 0.0);
    EXPECT_EQ(g_stateTime, Rig.Clock.Now()); // stamped again by gsNextTurn -> gsHuman only
    EXPECT_NE(stamped, g_stateTime);
    Rig.Clock.Advance(100);
    EXPECT_NEAR(g_camera->Eye.X.GetValue(), StepCos(6) * 2000, 1e-9);
    EXPECT_NEAR(g_camera->Eye.Y.GetValue(), StepSin(6) * 2000, 1e-9);
    EXPECT_DOUBLE_EQ(g_camera->Eye.Z.GetValue(), 2000.0);
}

} // namespace
