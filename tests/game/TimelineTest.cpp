#include <cmath>
#include <string>
#include <vector>

#include "ScreenRig.h"
#include "scene/Light.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

// The look of the game, pinned: what the camera, the lights, the discs and the pointer show at
// chosen moments of the title, the start of a game, a move, the free view and a take-back, and
// when each sound is asked for. Every expected value below was worked out by hand from the
// game's tuning (the numbers in the comments), not taken from the code, so a changed fall time,
// swoop, light height, orbit step or hop height fails here.
//
// Angles on the 32-step circle: sin(n pi/16) and cos(n pi/16), for example the play view's eye at
// step 6 is (cos 67.5 deg, sin 67.5 deg) x 2000 = (765.367, 1847.759).

namespace {

enum TQuantity {
    qEyeX,
    qEyeY,
    qEyeZ,
    qLookX,
    qLookY,
    qLookZ, // the camera
    qLightX,
    qLightY,
    qLightZ, // the point light
    qDiscTurnX,
    qDiscTurnY,
    qDiscTurnZ,
    qDiscZ, // the disc on `Square` (column + 8 x row)
    qPointerX,
    qPointerY,
    qPointerSpin, // the board pointer
};

const char* const kQuantityNames[] = {
    "eye x",       "eye y",     "eye z",     "look-at x",    "look-at y",   "look-at z",
    "light x",     "light y",   "light z",   "disc turn x",  "disc turn y", "disc turn z",
    "disc height", "pointer x", "pointer y", "pointer spin",
};

struct TSample {
    uint32_t AtMs; // after the phase began; the samples of a phase are read in this order
    TQuantity Quantity;
    double Expected;
    int Square = 0; // for the disc quantities
};

double Read(const TSample& s) {
    const TSolid& disc = *g_pieces[s.Square];
    switch (s.Quantity) {
    case qEyeX:
        return g_camera->Eye.X.GetValue();
    case qEyeY:
        return g_camera->Eye.Y.GetValue();
    case qEyeZ:
        return g_camera->Eye.Z.GetValue();
    case qLookX:
        return g_camera->LookAt.X.GetValue();
    case qLookY:
        return g_camera->LookAt.Y.GetValue();
    case qLookZ:
        return g_camera->LookAt.Z.GetValue();
    case qLightX:
        return g_lights[1]->Position.X.GetValue();
    case qLightY:
        return g_lights[1]->Position.Y.GetValue();
    case qLightZ:
        return g_lights[1]->Position.Z.GetValue();
    case qDiscTurnX:
        return disc.Rotation.X.GetValue();
    case qDiscTurnY:
        return disc.Rotation.Y.GetValue();
    case qDiscTurnZ:
        return disc.Rotation.Z.GetValue();
    case qDiscZ:
        return disc.Position.Z.GetValue();
    case qPointerX:
        return g_pointer->Position.X.GetValue();
    case qPointerY:
        return g_pointer->Position.Y.GetValue();
    case qPointerSpin:
        return g_pointer->Rotation.Z.GetValue();
    }
    return NAN;
}

class TimelineTest : public ::testing::Test {
  protected:
    // Reads every sample at its time after `start`, with the clock set by hand (no frame runs,
    // so nothing but the schedules moves).
    void Check(const char* phase, uint32_t start, const std::vector<TSample>& samples) {
        for (const TSample& s : samples) {
            Rig.Clock.Set(start + s.AtMs);
            EXPECT_NEAR(Read(s), s.Expected, 0.01)
                << phase << ": " << kQuantityNames[s.Quantity] << " of square " << s.Square
                << " at " << s.AtMs << " ms";
        }
    }
    // The sounds asked for since the list was last emptied, as (id, delay) in the order asked.
    void CheckSounds(const char* phase, const std::vector<std::pair<int, int64_t>>& expected) {
        std::vector<std::pair<int, int64_t>> heard;
        for (const TSoundRequest& s : Rig.Sounds) {
            heard.emplace_back(s.Id, s.DelayMs);
        }
        std::sort(heard.begin(), heard.end());
        std::vector<std::pair<int, int64_t>> wanted = expected;
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(heard, wanted) << phase;
        Rig.Sounds.clear();
    }
    // A two-player game at its first human turn, the start glide over.
    void StartTwoPlayerGame() {
        Rig.StartGame(playerHuman, playerHuman);
        Rig.RunFor(200);
        Rig.Sounds.clear();
    }
    TScreenRig Rig;
};

constexpr int Sq(int column, int row) {
    return row * 8 + column;
}

// The title: the light circles at radius 500, a step of 1/32 turn every 100 ms; the eye first
// goes to step -1 in 100 ms, then circles at radius 2000, a step every 500 ms.
TEST_F(TimelineTest, TheTitleOrbitsTheLightAndTheEye) {
    const uint32_t start = Rig.Clock.Now();
    Rig.Frame(); // the title's first frame sets the orbits up
    Check("title", start,
          {
              {100, qLightX, 500.0}, // step 0: (cos 0, sin 0) x 500
              {100, qLightY, 0.0},
              {100, qEyeX, -390.181}, // step -1: (sin -11.25 deg, cos
                                      // -11.25 deg) x 2000
              {100, qEyeY, 1961.571},
              {150, qLightX, 495.196}, // half-way to step -1: (500 +
                                       // 490.393) / 2
              {150, qLightY, -48.773},
              {200, qLightX, 490.393}, // step -1
              {200, qLightY, -97.545},
              {350, qEyeX, -195.090}, // half-way from step -1 to step 0
                                      // (0, 2000)
              {350, qEyeY, 1980.785},
              {600, qEyeX, 0.0},
              {600, qEyeY, 2000.0},
              {1100, qEyeX, 390.181}, // step 1
              {1100, qEyeY, 1961.571},
              {1700, qLightX, -500.0}, // step -16, half a lap after 1.6 s
                                       // more
              {1700, qLightY, 0.0},
              {4350, qEyeX, 1980.785}, // between steps 7 and 8
              {4350, qEyeY, 195.090},
              {4600, qEyeX, 2000.0}, // step 8, a quarter lap in 4 s
              {4600, qEyeY, 0.0},
              {6500, qLightX, 500.0}, // the 64 steps are two laps, then
                                      // they start again
              {6500, qLightY, 0.0},
          });
}

// A new game: the camera flies to the play view in 100 ms, the light hangs at 200 over the centre,
// a start sound, and the first turn after the 1000 ms wait.
TEST_F(TimelineTest, AGameStartsWithTheCameraOverTheBoard) {
    Rig.RunFor(1000); // the title's orbit under way
    g_playerType[cellBlack] = g_playerType[cellWhite] = playerHuman;
    g_scene = sceneGame;
    g_gameState = gsStart;
    Rig.Sounds.clear();
    Rig.Frame();
    const uint32_t start = Rig.Clock.Now();
    EXPECT_EQ(g_gameState, gsWait);
    CheckSounds("start", {{sndLeady, 0}});
    Check("start", start,
          {
              {0, qLightX, 0.0},
              {0, qLightY, 0.0},
              {0, qLightZ, 200.0},
              {100, qEyeX, 765.367},
              {100, qEyeY, 1847.759},
              {100, qEyeZ, 2000.0},
              {100, qLookX, 0.0},
              {100, qLookY, 0.0},
              {100, qLookZ, 0.0},
              {5000, qEyeX, 765.367}, // and there it stays: the orbit is over
              {5000, qEyeY, 1847.759},
          });
    Rig.Clock.Set(start + 1000);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsWait);
    Rig.Clock.Set(start + 1001);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsNextTurn);
}

// Black's first move on d3 (column 3, row 2) turns the disc below it, one step away: it rests
// 1000 + 200 ms, then turns and hops within one second; the new disc falls 1000 -> 10 in one
// second turning once; the camera swoops to (0, 1000, 500) and glides back by W = 2200 ms.
TEST_F(TimelineTest, AMoveDropsTheDiscTurnsTheRingAndSwoopsTheCamera) {
    StartTwoPlayerGame();
    const uint32_t start = Rig.PlayAt(3, 2);
    EXPECT_EQ(g_waitTime, 2200u);
    CheckSounds("move", {{sndFall, 0}, {sndDown, 1000}, {sndTern, 1400}, {sndDrop, 2100}});
    const int placed = Sq(3, 2);
    const int turned = Sq(3, 3); // white to black: A = 0
    Check("move", start,
          {
              {0, qDiscZ, 1000.0, placed},
              {0, qDiscTurnX, -180.0, turned},
              {0, qDiscZ, 20.0, turned},
              {75, qLookZ, 500.0},          // up to 1000 in 150 ms
              {250, qDiscZ, 752.5, placed}, // 1000 - 990 / 4
              {250, qDiscTurnY, 90.0, placed},
              {250, qEyeX, 382.683}, // half-way from the play view to (0, 1000, 500)
              {250, qEyeY, 1423.880},
              {250, qEyeZ, 1250.0},
              {250, qLookX, -35.0}, // half-way to the new disc at (-70, -210)
              {250, qLookY, -105.0},
              {250, qLookZ, 883.529},      // then down to 10 in 850 ms: 1000 - 990 x 100 / 850
              {600, qDiscZ, 15.0, turned}, // settling from 20 to 10 over its rest of 1200 ms
              {700, qEyeX, 0.0},
              {700, qEyeY, 1000.0},
              {700, qEyeZ, 500.0},
              {700, qLookX, -70.0},
              {700, qLookY, -210.0},
              {700, qLookZ, 359.412},
              {1000, qDiscZ, 10.0, placed},
              {1000, qDiscTurnY, 360.0, placed},
              {1000, qLookZ, 10.0},
              {1200, qDiscTurnX, -180.0, turned},
              {1200, qDiscZ, 10.0, turned},
              {1450, qDiscTurnX, -135.0, turned}, // a quarter of the turn
              {1450, qDiscTurnY, 90.0, turned},
              {1450, qDiscTurnZ, -45.0, turned},
              {1450, qDiscZ, 55.0, turned},
              {1600, qEyeX, 382.683}, // half-way back over W - 1000 = 1200 ms
              {1600, qEyeY, 1423.880},
              {1600, qEyeZ, 1250.0},
              {1600, qLookX, -35.0},
              {1600, qLookY, -105.0},
              {1600, qLookZ, 5.0},
              {1700, qDiscTurnX, -90.0, turned}, // half: at the top of its hop
              {1700, qDiscTurnY, 180.0, turned},
              {1700, qDiscTurnZ, 90.0, turned},
              {1700, qDiscZ, 100.0, turned},
              {1950, qDiscZ, 55.0, turned},
              {2200, qDiscTurnX, 0.0, turned},
              {2200, qDiscTurnY, 360.0, turned},
              {2200, qDiscTurnZ, 360.0, turned},
              {2200, qDiscZ, 10.0, turned},
              {2200, qEyeX, 765.367},
              {2200, qEyeY, 1847.759},
              {2200, qEyeZ, 2000.0},
              {2200, qLookX, 0.0},
              {2200, qLookY, 0.0},
              {2200, qLookZ, 0.0},
          });
}

// Six rings in one line: each 200 ms after the one before, W = 3200, a turn and a drop voice
// per ring 200 ms apart.
TEST_F(TimelineTest, FarRingsTurnLaterAndTheCameraWaitsForTheLast) {
    StartTwoPlayerGame();
    g_gameBoard = g_shownBoard = SixRingLine();
    g_gameState = gsNextTurn;
    Rig.Frame();
    Rig.Sounds.clear();
    const uint32_t start = Rig.PlayAt(0, 0);
    EXPECT_EQ(g_waitTime, 3200u);
    std::vector<std::pair<int, int64_t>> voices = {{sndFall, 0}, {sndDown, 1000}};
    for (int k = 0; k < 6; ++k) {
        voices.push_back({sndTern + k, 1400 + 200 * k});
        voices.push_back({sndDrop + k, 2100 + 200 * k});
    }
    CheckSounds("line", voices);
    Check("line", start,
          {
              {1600, qDiscTurnX, -180.0, Sq(3, 0)}, // three steps: rests 1000 + 600 ms
              {1850, qDiscTurnX, -135.0, Sq(3, 0)},
              {1850, qDiscZ, 55.0, Sq(3, 0)},
              {2100, qEyeX, 382.683}, // the glide back takes W - 1000 = 2200 ms from 1000
              {2100, qDiscZ, 100.0, Sq(3, 0)},
              {2100, qDiscZ, 28.0, Sq(1, 0)}, // one step: 100 - 90 x 400 / 500 on its way down
              {2200, qDiscZ, 10.0, Sq(1, 0)},
              {2700, qDiscZ, 100.0, Sq(6, 0)}, // six steps: top of its hop at 1200 + 1000 + 500
              {3200, qDiscTurnX, 0.0, Sq(6, 0)},
              {3200, qDiscZ, 10.0, Sq(6, 0)},
              {3200, qEyeX, 765.367},
          });
}

// Control held: each Left steps the eye one 1/32 turn in 200 ms, each Up lowers it by 100 in
// 200 ms; let go and it returns to the play view in 100 ms.
TEST_F(TimelineTest, TheFreeViewStepsTheEyeAndComesBack) {
    StartTwoPlayerGame();
    Rig.Frame({keyControl});
    ASSERT_EQ(g_gameState, gsView);
    const uint32_t start = Rig.Clock.Now();
    Rig.Frame({keyControl, keyLeft, keyUp});
    Check("view", start,
          {
              {100, qEyeX, 938.254}, // half-way from step 6 to step 5 (1111.140, 1662.939)
              {100, qEyeY, 1755.349},
              {100, qEyeZ, 1950.0},
              {200, qEyeX, 1111.140},
              {200, qEyeY, 1662.939},
              {200, qEyeZ, 1900.0},
          });
    Rig.Frame(); // Control let go
    EXPECT_EQ(g_gameState, gsNextTurn);
    Check("view return", start,
          {
              {250, qEyeX, 938.254}, // from step 5 back to step 6 and height 2000 in 100 ms
              {250, qEyeY, 1755.349},
              {250, qEyeZ, 1950.0},
              {300, qEyeX, 765.367},
              {300, qEyeY, 1847.759},
              {300, qEyeZ, 2000.0},
          });
}

// The pointer glides to the cursor in 100 ms and spins a full turn every 2 s.
TEST_F(TimelineTest, ThePointerGlidesAndSpins) {
    StartTwoPlayerGame();
    const uint32_t spun = g_stateTime; // the spin started with the human's turn
    Rig.Frame({keyRight});             // from (3, 3) to (4, 3): x from -70 to 70
    const uint32_t glide = Rig.Clock.Now();
    Check("pointer", glide,
          {
              {50, qPointerX, 0.0},
              {50, qPointerY, -70.0},
              {100, qPointerX, 70.0},
          });
    Check("spin", spun,
          {
              {2500, qPointerSpin, 90.0},
              {5000, qPointerSpin, 180.0},
          });
}

// Backspace in a two-player game takes back the last move: the disc placed rises to 800 turning
// back once in 600 ms, the turned disc turns back with a hop to 60, one swish at once, and the
// board shows the position before after 700 ms.
TEST_F(TimelineTest, ATakeBackLiftsThePlacedDiscAndTurnsTheOthersBack) {
    StartTwoPlayerGame();
    Rig.PlayAt(3, 2);
    ASSERT_TRUE(Rig.RunUntil(gsHuman));
    Rig.Sounds.clear();
    Rig.Frame({keyUndo});
    ASSERT_EQ(g_gameState, gsWait);
    const uint32_t start = g_stateTime;
    EXPECT_EQ(g_waitTime, 700u);
    CheckSounds("take-back", {{sndTern, 0}});
    const int placed = Sq(3, 2);
    const int turned = Sq(3, 3); // black back to white
    Check("take-back", start,
          {
              {150, qDiscZ, 207.5, placed}, // 10 + 790 / 4
              {150, qDiscTurnY, -90.0, placed},
              {150, qDiscTurnX, 45.0, turned},
              {150, qDiscZ, 35.0, turned},
              {300, qDiscZ, 60.0, turned},
              {600, qDiscZ, 800.0, placed},
              {600, qDiscTurnX, 180.0, turned},
              {600, qDiscZ, 10.0, turned},
          });
    Rig.Clock.Set(start + 701);
    Rig.Frame();
    EXPECT_TRUE(SameBoard(g_shownBoard, TBoard()));
}

} // namespace
