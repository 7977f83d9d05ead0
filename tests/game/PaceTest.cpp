#include <cmath>
#include <vector>

#include "ScreenRig.h"
#include "scene/Solidpiece.h"

// The game at Fast: the camera stays in the play view, the new disc falls and the captured discs
// turn in three tenths of the Normal time with every sound in its place in the wave, and each
// move is over within a second. The expected values are worked by hand from the Normal tuning
// (fall 1000 ms, rest 1000 + 200 per step, turn 1000 with a 500 ms hop to 100, sounds at 1400
// and 2100 + 200 per ring) times 0.3.

namespace {

constexpr double kPlayEye[3] = {765.367, 1847.759, 2000.0}; // step 6 of 32 at radius 2000

class PaceTest : public ::testing::Test {
  protected:
    void StartTwoPlayerGame(int32_t speed) {
        Rig.StartGame(playerHuman, playerHuman);
        Rig.RunFor(200);
        AnimationSpeed = speed;
        Rig.Sounds.clear();
    }
    // The camera's distance from the play view (eye and look-at together).
    static double CameraOffPlayView() {
        const TCamera& c = *g_camera;
        return std::abs(c.Eye.X.GetValue() - kPlayEye[0]) +
               std::abs(c.Eye.Y.GetValue() - kPlayEye[1]) +
               std::abs(c.Eye.Z.GetValue() - kPlayEye[2]) + std::abs(c.LookAt.X.GetValue()) +
               std::abs(c.LookAt.Y.GetValue()) + std::abs(c.LookAt.Z.GetValue());
    }
    TScreenRig Rig;
};

const TSolid& Disc(int column, int row) {
    return *g_pieces[row * 8 + column];
}

// Black's d3 at Fast: the new disc falls 1000 -> 10 in 300 ms turning once; the disc below rests
// 300 + 60 ms, then turns and hops within 300 ms; the wait is 660 ms; the sounds come at 0, 300,
// 420 and 630; the camera never leaves the play view.
TEST_F(PaceTest, AFastMoveFallsAndTurnsInThreeTenthsWithTheCameraStill) {
    StartTwoPlayerGame(speedFast);
    const uint32_t start = Rig.PlayAt(3, 2);
    EXPECT_EQ(g_waitTime, 660u);
    EXPECT_EQ(Rig.TakeSounds(),
              TSounds({{sndDrop, 630}, {sndTern, 420}, {sndFall, 0}, {sndDown, 300}}));
    const TSolid& placed = Disc(3, 2);
    const TSolid& turned = Disc(3, 3);
    // At, the placed disc's height and turn about Y, the turned disc's turn about X and height.
    const std::tuple<uint32_t, double, double, double, double> samples[] = {
        {0, 1000.0, 0.0, -180.0, 20.0},     {150, 505.0, 180.0, -180.0, 15.833},
        {300, 10.0, 360.0, -180.0, 11.667}, {360, 10.0, 360.0, -180.0, 10.0},
        {435, 10.0, 360.0, -135.0, 55.0},   {510, 10.0, 360.0, -90.0, 100.0},
        {585, 10.0, 360.0, -45.0, 55.0},    {660, 10.0, 360.0, 0.0, 10.0},
    };
    for (const auto& [at, fallZ, fallTurn, turnX, turnZ] : samples) {
        SCOPED_TRACE(at);
        Rig.Clock.Set(start + at);
        EXPECT_NEAR(placed.Position.Z.GetValue(), fallZ, 0.01);
        EXPECT_NEAR(placed.Rotation.Y.GetValue(), fallTurn, 0.01);
        EXPECT_NEAR(turned.Rotation.X.GetValue(), turnX, 0.01);
        EXPECT_NEAR(turned.Position.Z.GetValue(), turnZ, 0.01);
        EXPECT_NEAR(CameraOffPlayView(), 0.0, 0.01);
    }
    EXPECT_TRUE(g_camera->Eye.X.Schedule.empty() && g_camera->LookAt.Z.Schedule.empty());
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    Rig.Clock.Set(start + 661);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsNextTurn);
}

// Against the computer at Fast, the reply starts only once the human's move has landed, then
// runs its own Fast animation; the camera stays in the play view throughout.
TEST_F(PaceTest, TheComputersFastReplyFollowsItsOwnAnimation) {
    g_sage.SetLevel(1);
    Rig.StartGame(playerHuman, playerComputer);
    Rig.RunFor(200);
    AnimationSpeed = speedFast;
    const uint32_t start = Rig.PlayAt(3, 2);
    uint32_t replyStart = 0;
    uint32_t replyWait = 0;
    double cameraOff = 0.0;
    for (int frame = 0; frame < 200 && g_gameState != gsHuman; ++frame) {
        Rig.Clock.Advance(20);
        Rig.Frame();
        cameraOff = std::max(cameraOff, CameraOffPlayView());
        if (g_gameState == gsWait && g_stateTime != start && replyStart == 0) {
            replyStart = g_stateTime;
            replyWait = g_waitTime;
        }
    }
    ASSERT_EQ(g_gameState, gsHuman);
    EXPECT_GT(replyStart, start + 660) << "the reply fell before the human's move had landed";
    EXPECT_LE(replyWait, 960u);
    EXPECT_GE(replyWait, 660u);
    EXPECT_LT(Rig.Clock.Now(), replyStart + 1000) << "the reply was not over within a second";
    EXPECT_NEAR(cameraOff, 0.0, 0.01);
    EXPECT_EQ(g_gameBoard.GetCount(cellEmpty), 58);
}

} // namespace
