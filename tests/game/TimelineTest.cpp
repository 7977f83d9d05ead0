#include <cmath>
#include <vector>

#include "ScreenRig.h"
#include "scene/Light.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

// The camera, the lights, the discs and the pointer at chosen moments, and when each sound is
// asked for; every value worked out by hand from the numbers in the comments. Step n of the
// 32-step circle is at (cos n pi/16, sin n pi/16) x the radius.

namespace {

// What a sample reads: a disc's place has its height in z, the pointer's spin is z.
enum TWhat { Eye, Look, Light, Turn, Disc, Pointer, Spin };
const char* const kWhatNames[] = {"eye",  "look-at", "light", "disc turn",
                                  "disc", "pointer", "spin"};

struct TSample {
    uint32_t AtMs; // after the phase began; the samples of a phase are read in this order
    TWhat What;
    int Square;     // of the disc read (column + 8 x row), 0 for the rest
    double X, Y, Z; // expected; kAny is not read
};

constexpr double kAny = NAN;
constexpr double kPlayEye[3] = {765.367, 1847.759, 2000.0}; // step 6 of 32 at radius 2000

const TMovement3D& Moved(TWhat what, int square) {
    TSolid& disc = *g_pieces[square];
    const TMovement3D* const moved[] = {
        &g_camera->Eye, &g_camera->LookAt,    &g_lights[1]->Position, &disc.Rotation,
        &disc.Position, &g_pointer->Position, &g_pointer->Rotation};
    return *moved[what];
}

constexpr int Sq(int column, int row) {
    return row * 8 + column;
}

class TimelineTest : public ::testing::Test {
  protected:
    // Reads every sample at its time after `start`; no frame runs.
    void Check(const char* phase, uint32_t start, const std::vector<TSample>& samples) {
        for (const TSample& s : samples) {
            Rig.Clock.Set(start + s.AtMs);
            const TMovement3D& moved = Moved(s.What, s.Square);
            const TMovement* axes[3] = {&moved.X, &moved.Y, &moved.Z};
            const double expected[3] = {s.X, s.Y, s.Z};
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(std::isnan(expected[i]) ||
                            std::abs(axes[i]->GetValue() - expected[i]) < 0.01)
                    << phase << ": " << kWhatNames[s.What] << " axis " << i << " of square "
                    << s.Square << " is " << axes[i]->GetValue() << " at " << s.AtMs << " ms, not "
                    << expected[i];
            }
        }
    }
    // A two-player game at its first human turn at this speed, the start glide over.
    void StartTwoPlayerGame(int32_t speed = speedNormal) {
        Rig.StartGame(playerHuman, playerHuman);
        Rig.RunFor(200);
        AnimationSpeed = speed;
        Rig.Sounds.clear();
    }
    TScreenRig Rig;
};

// The title: the light circles at radius 500, a step of 1/32 turn every 100 ms; the eye first
// goes to step -1 in 100 ms, then circles at radius 2000, a step every 500 ms. Step -1 of the
// eye is (sin -11.25 deg, cos -11.25 deg) x 2000; the light's 64 steps are two laps, then they
// start again. A new game then: the camera flies to the play view in 100 ms and stays, the light
// hangs at 200 over the centre, a start sound, and the first turn after the 1000 ms wait.
TEST_F(TimelineTest, TheTitleOrbitsTheLightAndTheEyeAndAGameStartsOverTheBoard) {
    uint32_t start = Rig.Clock.Now();
    Rig.Frame(); // the title's first frame sets the orbits up
    const std::vector<TSample> title = {
        {100, Light, 0, 500.0, 0.0, kAny},       {100, Eye, 0, -390.181, 1961.571, kAny},
        {150, Light, 0, 495.196, -48.773, kAny}, {200, Light, 0, 490.393, -97.545, kAny},
        {350, Eye, 0, -195.090, 1980.785, kAny}, {600, Eye, 0, 0.0, 2000.0, kAny},
        {1100, Eye, 0, 390.181, 1961.571, kAny}, {1700, Light, 0, -500.0, 0.0, kAny},
        {4350, Eye, 0, 1980.785, 195.090, kAny}, {4600, Eye, 0, 2000.0, 0.0, kAny},
        {6500, Light, 0, 500.0, 0.0, kAny}};
    Check("title", start, title);
    g_playerType[cellBlack] = g_playerType[cellWhite] = playerHuman;
    g_scene = sceneGame;
    g_gameState = gsStart;
    Rig.Sounds.clear();
    Rig.Frame();
    start = Rig.Clock.Now();
    EXPECT_EQ(g_gameState, gsWait);
    EXPECT_EQ(Rig.TakeSounds(), TSounds({{sndLeady, 0}}));
    const std::vector<TSample> flight = {{0, Light, 0, 0.0, 0.0, 200.0},
                                         {100, Eye, 0, 765.367, 1847.759, 2000.0},
                                         {100, Look, 0, 0.0, 0.0, 0.0},
                                         {5000, Eye, 0, 765.367, 1847.759, kAny}};
    Check("start", start, flight);
    Rig.Clock.Set(start + 1000);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    Rig.Clock.Set(start + 1001);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsNextTurn);
}

// Black's first move on d3 (column 3, row 2) turns the disc below it (white to black), one step
// away: it rests 1000 + 200 ms, then turns and hops to 100 within one second; the new disc falls
// 1000 -> 10 in one second turning once; the look-at rises to 1000 in 150 ms, then comes down to
// 10 in 850 ms; the camera swoops to (0, 1000, 500) over the new disc at (-70, -210) by 700 ms
// and glides back over W - 1000 = 1200 ms, W = 2200 ms. Backspace then takes it back: the disc
// placed rises to 800 turning back once in 600 ms, the turned disc turns back with a hop to 60,
// one swish at once, and the board shows the position before after 700 ms.
TEST_F(TimelineTest, AMoveDropsTheDiscTurnsTheRingSwoopsTheCameraAndIsTakenBack) {
    StartTwoPlayerGame();
    const uint32_t start = Rig.PlayAt(3, 2);
    EXPECT_EQ(g_waitTime, 2200u);
    EXPECT_EQ(Rig.TakeSounds(),
              TSounds({{sndDrop, 2100}, {sndTern, 1400}, {sndFall, 0}, {sndDown, 1000}}));
    const int placed = Sq(3, 2);
    const int turned = Sq(3, 3);
    const std::vector<TSample> fall = {
        {0, Disc, placed, kAny, kAny, 1000.0},    {0, Turn, turned, -180.0, kAny, kAny},
        {0, Disc, turned, kAny, kAny, 20.0},      {75, Look, 0, kAny, kAny, 500.0},
        {250, Disc, placed, kAny, kAny, 752.5},   {250, Turn, placed, kAny, 90.0, kAny},
        {250, Eye, 0, 382.683, 1423.880, 1250.0}, {250, Look, 0, -35.0, -105.0, 883.529},
        {600, Disc, turned, kAny, kAny, 15.0},    {700, Eye, 0, 0.0, 1000.0, 500.0},
        {700, Look, 0, -70.0, -210.0, 359.412},   {1000, Disc, placed, kAny, kAny, 10.0},
        {1000, Turn, placed, kAny, 360.0, kAny},  {1000, Look, 0, kAny, kAny, 10.0},
        {1200, Turn, turned, -180.0, kAny, kAny}, {1200, Disc, turned, kAny, kAny, 10.0}};
    Check("fall", start, fall);
    const std::vector<TSample> turn = {{1450, Disc, turned, kAny, kAny, 55.0},
                                       {1450, Turn, turned, -135.0, 90.0, -45.0},
                                       {1600, Eye, 0, 382.683, 1423.880, 1250.0},
                                       {1600, Look, 0, -35.0, -105.0, 5.0},
                                       {1700, Turn, turned, -90.0, 180.0, 90.0},
                                       {1700, Disc, turned, kAny, kAny, 100.0},
                                       {1950, Disc, turned, kAny, kAny, 55.0},
                                       {2200, Turn, turned, 0.0, 360.0, 360.0},
                                       {2200, Disc, turned, kAny, kAny, 10.0},
                                       {2200, Eye, 0, 765.367, 1847.759, 2000.0},
                                       {2200, Look, 0, 0.0, 0.0, 0.0}};
    Check("turn", start, turn);
    ASSERT_TRUE(Rig.RunUntil(gsHuman));
    Rig.Sounds.clear();
    Rig.Frame({keyUndo});
    ASSERT_EQ(g_gameState, gsWait);
    const uint32_t back = g_stateTime;
    EXPECT_EQ(g_waitTime, 700u);
    EXPECT_EQ(Rig.TakeSounds(), TSounds({{sndTern, 0}}));
    const std::vector<TSample> takeBack = {
        {150, Disc, placed, kAny, kAny, 207.5}, {150, Turn, placed, kAny, -90.0, kAny},
        {150, Turn, turned, 45.0, kAny, kAny},  {150, Disc, turned, kAny, kAny, 35.0},
        {300, Disc, turned, kAny, kAny, 60.0},  {600, Disc, placed, kAny, kAny, 800.0},
        {600, Turn, turned, 180.0, kAny, kAny}, {600, Disc, turned, kAny, kAny, 10.0}};
    Check("take-back", back, takeBack);
    Rig.Clock.Set(back + 701);
    Rig.Frame();
    EXPECT_TRUE(SameBoard(g_shownBoard, TBoard()));
}

// The discs turn in waves by their distance from the new one, the larger of the column and row
// steps: Black on a1 turns six discs in a line, one at each distance 1 to 6, and two on the
// diagonal, at distances 1 and 2. Each wave 200 ms after the one before, W = 3200, a turn and a
// drop voice per wave 200 ms apart.
TEST_F(TimelineTest, DiscsTurnInWavesByTheirDistanceAndTheCameraWaitsForTheLast) {
    StartTwoPlayerGame();
    TBoard board =
        BoardOf({{7, 0, cellBlack}, {1, 1, cellWhite}, {2, 2, cellWhite}, {3, 3, cellBlack}});
    for (int column = 1; column <= 6; ++column) {
        board.SetCell(column, 0, cellWhite);
    }
    Rig.ShowBoard(board);
    const uint32_t start = Rig.PlayAt(0, 0);
    EXPECT_EQ(g_waitTime, 3200u);
    TSounds voices = {{sndFall, 0}, {sndDown, 1000}};
    for (int k = 0; k < 6; ++k) {
        voices.push_back({sndTern + k, 1400 + 200 * k});
        voices.push_back({sndDrop + k, 2100 + 200 * k});
    }
    std::sort(voices.begin(), voices.end());
    EXPECT_EQ(Rig.TakeSounds(), voices);
    // One step away: the top of its hop half-way through its turn at 1700, then 100 - 90 x 400 /
    // 500 on its way down at 2100. Three steps: rests 1000 + 600 ms. Six steps: the top of its hop
    // at 1200 + 1000 + 500. The glide back takes W - 1000 = 2200 ms from 1000.
    const std::vector<TSample> line = {
        {1600, Turn, Sq(3, 0), -180.0, kAny, kAny}, {1700, Turn, Sq(1, 1), -90.0, kAny, kAny},
        {1700, Disc, Sq(1, 1), kAny, kAny, 100.0},  {1850, Turn, Sq(3, 0), -135.0, kAny, kAny},
        {1850, Disc, Sq(3, 0), kAny, kAny, 55.0},   {1900, Turn, Sq(2, 2), -90.0, kAny, kAny},
        {1900, Disc, Sq(2, 2), kAny, kAny, 100.0},  {2100, Eye, 0, 382.683, kAny, kAny},
        {2100, Disc, Sq(3, 0), kAny, kAny, 100.0},  {2100, Disc, Sq(1, 0), kAny, kAny, 28.0},
        {2200, Disc, Sq(1, 0), kAny, kAny, 10.0},   {2700, Disc, Sq(6, 0), kAny, kAny, 100.0},
        {3200, Turn, Sq(6, 0), 0.0, kAny, kAny},    {3200, Disc, Sq(6, 0), kAny, kAny, 10.0},
        {3200, Eye, 0, 765.367, kAny, kAny}};
    Check("waves", start, line);
}

// The pointer glides to the cursor in 100 ms, from (3, 3) to (4, 3): x from -70 to 70, and spins
// a full turn every 2 s from the human's turn on. Control held: each Left steps the eye one 1/32
// turn in 200 ms, from step 6 to step 5 at (1111.140, 1662.939), each Up lowers it by 100 in
// 200 ms; let go and it returns to the play view in 100 ms.
TEST_F(TimelineTest, ThePointerGlidesAndSpinsAndTheFreeViewStepsTheEyeAndComesBack) {
    StartTwoPlayerGame();
    const uint32_t spun = g_stateTime;
    Rig.Frame({keyRight});
    const std::vector<TSample> glide = {{50, Pointer, 0, 0.0, -70.0, kAny},
                                        {100, Pointer, 0, 70.0, kAny, kAny}};
    Check("pointer", Rig.Clock.Now(), glide);
    const std::vector<TSample> spin = {{2500, Spin, 0, kAny, kAny, 90.0},
                                       {5000, Spin, 0, kAny, kAny, 180.0}};
    Check("spin", spun, spin);
    Rig.Frame({keyControl});
    ASSERT_EQ(g_gameState, gsView);
    const uint32_t start = Rig.Clock.Now();
    Rig.Frame({keyControl, keyLeft, keyUp});
    const std::vector<TSample> view = {{100, Eye, 0, 938.254, 1755.349, 1950.0},
                                       {200, Eye, 0, 1111.140, 1662.939, 1900.0}};
    Check("view", start, view);
    Rig.Frame(); // Control let go
    EXPECT_EQ(g_gameState, gsNextTurn);
    const std::vector<TSample> back = {{250, Eye, 0, 938.254, 1755.349, 1950.0},
                                       {300, Eye, 0, 765.367, 1847.759, 2000.0}};
    Check("view return", start, back);
}

// Black's d3 at Fast: the new disc falls 1000 -> 10 in 300 ms turning once; the disc below rests
// 300 + 60 ms, then turns and hops within 300 ms; the wait is 660 ms; the sounds come at 0, 300,
// 420 and 630; the camera never leaves the play view, and the next turn comes once it has landed.
TEST_F(TimelineTest, FastMovesFallAndTurnInThreeTenthsWithTheCameraStill) {
    StartTwoPlayerGame(speedFast);
    const uint32_t start = Rig.PlayAt(3, 2);
    EXPECT_EQ(g_waitTime, 660u);
    EXPECT_EQ(Rig.TakeSounds(),
              TSounds({{sndDrop, 630}, {sndTern, 420}, {sndFall, 0}, {sndDown, 300}}));
    const TSolid& placed = *g_pieces[Sq(3, 2)];
    const TSolid& turned = *g_pieces[Sq(3, 3)];
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
        Check("fast view", start,
              {{at, Eye, 0, kPlayEye[0], kPlayEye[1], kPlayEye[2]}, {at, Look, 0, 0.0, 0.0, 0.0}});
    }
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    Rig.Clock.Set(start + 661);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsNextTurn);
}

} // namespace
