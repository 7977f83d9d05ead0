#include "ScreenRig.h"
#include "scene/Solidpiece.h"

namespace {

struct TGameRow {
    const char* Name;
    int MenuLine, LevelCursor, Mouse;  // how the game is chosen; played by clicks or by keys
    int BlackLevel, WhiteLevel, Sound; // the computer's and the human's choices; the end's sound
    const char* Result;
};

// Whole games from the title to the result and back, through the screens: each is the game the
// engine alone plays at the same levels. The mouse game's squares are picked where the camera
// shows them, the first while the free view has turned it.
const TGameRow kGames[] = {{"BlackLosesToHard", 0, 5, false, 1, 5, sndLose, "You Lose!"},
                           {"WhiteBeatsPoor", 1, 1, false, 1, 3, sndWin, "You Win!"},
                           {"TwoPlayersByMouseDraw", 2, 0, true, 1, 1, sndWin, "Draw!"}};

TEST(WholeGameTest, PlaysTheEnginesGamesToTheirResults) {
    for (const TGameRow& row : kGames) {
        SCOPED_TRACE(row.Name);
        TScreenRig rig;
        rig.Frame();
        if (row.Mouse) {
            rig.Mouse({320, 100}, true);
            rig.Mouse(rig.Line("2 Players Game"), true);
        } else {
            rig.Press(keySpace);
            rig.Press(keyDown, row.MenuLine);
            if (row.MenuLine < 2) {
                rig.Press(keySpace);
                rig.Press(row.LevelCursor < kLevelCursorOpen ? keyUp : keyDown,
                          std::abs(row.LevelCursor - kLevelCursorOpen));
            }
            rig.Frame({keySpace});
        }
        ASSERT_EQ(g_scene, sceneGame);
        const auto choice = [&row](const TBoard& board) {
            return EngineMove(board,
                              board.GetTurn() == cellBlack ? row.BlackLevel : row.WhiteLevel);
        };
        TBoard reference; // the engine's own game at the same levels
        // A move takes some 60 frames of animation and wait; a game is at most 130 of them.
        for (int idle = 0, plies = 0; g_gameState != gsResult; ++idle) {
            ASSERT_LT(idle, 200) << "no move for 200 frames after ply " << plies;
            ASSERT_LT(plies, 130) << "the game does not end";
            if (g_gameState != gsHuman) {
                rig.Clock.Advance(50);
                rig.Frame();
            } else {
                const auto [x, y] = choice(g_gameBoard);
                const bool move = x >= 0;
                if (row.Mouse && plies == 0) { // picked through the free view: three steps round
                    rig.RunFor(640, {keyControl, keyLeft}); // and two lower, hovered with it held
                    rig.RunFor(440, {keyControl, keyUp});
                    rig.RunFor(200, {keyControl});
                    ASSERT_LT(g_camera->Eye.Z.GetValue(), 1900.0) << "still in the play view";
                    const TScreenPoint p = ScreenPointOfSquare(x, y);
                    rig.MouseNext = TMouseFrame{true, p.X, p.Y, true};
                    rig.Frame({keyControl});
                    ASSERT_TRUE(rig.RunUntil(gsHuman));
                    rig.Frame({keySpace});
                } else if (row.Mouse) {
                    rig.Mouse(move ? ScreenPointOfSquare(x, y) : TScreenPoint{600, 20}, move,
                              !move);
                } else {
                    g_cursorX = x;
                    g_cursorY = y;
                    rig.Frame({move ? keySpace : keyEnter});
                }
                ASSERT_EQ(g_gameState, gsAnimate) << "ply " << plies << " not taken";
            }
            if (g_gameState == gsAnimate) { // a move or a pass: the engine's in its own game
                const auto [x, y] = choice(reference);
                x < 0 ? reference.Pass() : reference.Place(x, y);
                ASSERT_EQ(std::pair(g_lastMove.isPass ? -1 : g_lastMove.x,
                                    g_lastMove.isPass ? -1 : g_lastMove.y),
                          std::pair(x, y))
                    << "ply " << plies;
                ++plies;
                idle = 0;
            }
        }
        EXPECT_TRUE(SameBoard(g_gameBoard, reference) && reference.IsGameOver());
        EXPECT_NE(rig.FindText(row.Result), nullptr) << row.Result;
        EXPECT_EQ(rig.CountSounds(row.Sound), 1);
        EXPECT_EQ(rig.CountSounds(row.Sound == sndWin ? sndLose : sndWin), 0);
        row.Mouse ? rig.Mouse({320, 240}, true) : rig.Press(keySpace);
        EXPECT_EQ(g_scene, sceneTitle);
    }
}

} // namespace
