#include "ManualWorker.h"
#include "ScreenRig.h"
#include "scene/Light.h"
#include "scene/Solidpointer.h"

namespace {

class ComputerThinkingTest : public ::testing::Test {
  protected:
    ComputerThinkingTest() { SetSearchWorker(&Worker); }
    ~ComputerThinkingTest() override { SetSearchWorker(nullptr); }

    TManualWorker Worker;
    TScreenRig Rig;
};

// The whole scene is drawn, the cursor moves with its sound, the pointer glides and the light
// follows it; the answer, a move or a pass, is played in the first frame after it is ready.
TEST_F(ComputerThinkingTest, FramesGoOnWhileTheComputerThinks) {
    Rig.StartGame(playerComputer, playerHuman, gsComputer);
    EXPECT_EQ(Worker.Requests.size(), 1u);
    EXPECT_FALSE(g_lastMove.ready);
    Rig.Sounds.clear();
    Rig.Press(keyRight, 2);
    Rig.RunFor(600);
    EXPECT_EQ(g_gameState, gsComputer);
    EXPECT_TRUE(SameBoard(g_gameBoard, TBoard()) && !g_lastMove.ready);
    EXPECT_EQ(g_cursorX, 5);
    EXPECT_EQ(Rig.CursorSounds(), 2);
    EXPECT_DOUBLE_EQ(g_pointer->Position.X.GetValue(), CellToWorld(5));
    EXPECT_DOUBLE_EQ(g_lights[1]->Position.X.GetValue(), CellToWorld(5));
    const auto& calls = Rig.Log.GetCalls();
    EXPECT_GE(std::count_if(calls.begin(), calls.end(),
                            [](const auto& call) { return call.Kind == callDrawPrimitive; }),
              1 + 4); // the board and the four discs at least

    Worker.Finish();
    Rig.Frame();
    const auto [x, y] = EngineMove(TBoard(), kLevelDefault);
    EXPECT_EQ(g_gameState, gsAnimate);
    EXPECT_TRUE(g_lastMove.ready && !g_lastMove.isPass);
    EXPECT_EQ(std::pair(g_lastMove.x, g_lastMove.y), std::pair(x, y));
    EXPECT_EQ(g_gameBoard.GetCell(x, y), cellBlack);
    EXPECT_EQ(Worker.Waits, 0) << "a frame waited for the search";

    // Without a move it passes once its search says so; the old square is kept.
    g_lastMove = TLastMove{4, 6, false, true};
    Rig.ShowBoard(BoardOf({{0, 0, cellWhite}, {1, 0, cellBlack}, {7, 7, cellWhite}}));
    ASSERT_EQ(g_gameState, gsComputer);
    EXPECT_FALSE(g_lastMove.ready);
    Rig.Frame();
    EXPECT_EQ(g_gameState, gsComputer);
    Worker.Finish();
    Rig.Frame();
    EXPECT_TRUE(g_gameState == gsAnimate && g_lastMove.isPass &&
                g_gameBoard.GetTurn() == cellWhite);
    EXPECT_EQ(std::pair(g_lastMove.x, g_lastMove.y), std::pair(4, 6));
}

// The title's camera orbits again at once; the late answer never reaches the next game, and the
// next search starts only once the old one has ended.
TEST_F(ComputerThinkingTest, LeavingWhileItThinksWaitsForNothingAndDropsTheAnswer) {
    Rig.StartGame(playerComputer, playerHuman, gsComputer);
    ReturnToTitle();
    Rig.RunFor(400);
    EXPECT_TRUE(g_scene == sceneTitle && Rig.FindText("PUSH SPACE KEY"));
    EXPECT_FALSE(g_camera->Eye.X.Schedule.empty());
    EXPECT_EQ(Worker.Waits, 0) << "leaving waited for the search";

    Rig.StartGame(playerHuman, playerHuman);
    Worker.Finish(); // the old answer arrives during the new game
    Rig.RunFor(400);
    EXPECT_TRUE(g_gameState == gsHuman && SameBoard(g_gameBoard, TBoard()) &&
                SameBoard(g_shownBoard, TBoard()));

    Rig.StartGame(playerComputer, playerHuman, gsComputer);
    ReturnToTitle();
    Rig.StartGame(playerHuman, playerComputer);
    std::tie(g_cursorX, g_cursorY) = std::pair(2, 3);
    Rig.Frame({keySpace});
    ASSERT_TRUE(Rig.RunUntil(gsComputer));
    EXPECT_EQ(Worker.Stops, 1) << "the old search was not stopped before the new one";
    EXPECT_EQ(Worker.Requests.size(), 3u);
    Worker.Finish();
    Rig.Frame();
    TBoard asked;
    asked.Place(2, 3);
    const auto [x, y] = EngineMove(asked, kLevelDefault);
    EXPECT_EQ(std::pair(g_lastMove.x, g_lastMove.y), std::pair(x, y));
    EXPECT_EQ(g_gameBoard.GetCell(x, y), cellWhite);
}

// The build's own worker: a whole game of the computer against itself, thought on the worker's
// thread while the frames go on, is move for move the engine's own game.
TEST(ComputerThinkingThreadTest, AWholeGameOnTheWorkerIsTheEnginesGame) {
    const std::unique_ptr<TSearchWorker> worker = MakeSearchWorker();
    struct TUse {
        explicit TUse(TSearchWorker* w) { SetSearchWorker(w); }
        ~TUse() { SetSearchWorker(nullptr); }
    } use(worker.get());
    TScreenRig rig;
    g_sage.SetLevel(3);
    g_playerType[cellBlack] = g_playerType[cellWhite] = playerComputer;
    g_scene = sceneGame;
    g_gameState = gsStart;
    TBoard reference;
    int plies = 0;
    for (int frame = 0; g_gameState != gsResult; ++frame) {
        ASSERT_LT(frame, 20000) << "the game does not end";
        if (g_gameState == gsComputer && frame % 4 == 0) {
            worker->Wait(); // a few frames go by while it thinks, then the answer is waited for
        }
        rig.Clock.Advance(20);
        rig.Frame();
        if (g_gameState == gsAnimate) {
            const auto [x, y] = EngineMove(reference, 3);
            x < 0 ? reference.Pass() : reference.Place(x, y);
            ASSERT_EQ(std::pair(g_lastMove.isPass ? -1 : g_lastMove.x,
                                g_lastMove.isPass ? -1 : g_lastMove.y),
                      std::pair(x, y))
                << "ply " << plies;
            ++plies;
        }
    }
    EXPECT_TRUE(SameBoard(g_gameBoard, reference));
    EXPECT_EQ(std::pair(reference.GetCount(cellBlack), reference.GetCount(cellWhite)),
              std::pair(53, 11));
}

} // namespace
