#include "ScreenRig.h"
#include "game/GameAids.h"
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
        TSage helpers[3];
        helpers[cellBlack].SetLevel(row.BlackLevel);
        helpers[cellWhite].SetLevel(row.WhiteLevel);
        TBoard reference;          // the engine's own game at the same levels
        std::vector<TBoard> turns; // the first five human turns
        bool undone = false;
        // A move takes some 60 frames of animation and wait; a game is at most 130 of them.
        for (int idle = 0, plies = 0; g_gameState != gsResult; ++idle) {
            ASSERT_LT(idle, 200) << "no move for 200 frames after ply " << plies;
            ASSERT_LT(plies, 130) << "the game does not end";
            if (g_gameState != gsHuman) {
                rig.Clock.Advance(50);
                rig.Frame();
            } else if (!undone && turns.size() == 5 && !SameBoard(g_gameBoard, turns[4])) {
                undone = true;
                // Undo walks back a human turn at a time, the computer's replies with it, each
                // position shown as it was; at the start it only knocks. The game goes on from
                // there.
                for (size_t back = turns.size(); back-- > 0;) {
                    rig.Press(keyUndo);
                    ASSERT_TRUE(rig.RunUntil(gsHuman, 1000))
                        << "undo to turn " << back << " took long";
                    const TBoard& was = turns[back];
                    ASSERT_TRUE(SameBoard(g_gameBoard, was) && SameBoard(g_shownBoard, was));
                    for (int i = 0; i < 64; ++i) {
                        const int cell = was.GetCell(i % 8, i / 8);
                        ASSERT_EQ(g_pieces[i]->Visible, cell != cellEmpty) << i;
                        EXPECT_TRUE(cell == cellEmpty || g_pieces[i]->Rotation.X.GetValue() ==
                                                             (cell == cellWhite ? 180 : 0));
                    }
                }
                rig.Sounds.clear();
                rig.Press(keyUndo);
                EXPECT_TRUE(rig.Sounds.size() == 1 && rig.CountSounds(sndDown) == 1);
                EXPECT_TRUE(SameBoard(g_gameBoard, turns[0]));
                reference = turns[0];
            } else {
                if (turns.size() < 5) {
                    turns.push_back(g_gameBoard);
                }
                int x = -1, y = -1;
                const bool move = helpers[g_gameBoard.GetTurn()].Think(g_gameBoard, &x, &y);
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
                    if (move && plies < 8) { // the hint glides to level 8's move, plays nothing
                        TSage extreme;
                        extreme.SetLevel(kHintLevel);
                        int hx = -1, hy = -1;
                        ASSERT_TRUE(extreme.Think(g_gameBoard, &hx, &hy));
                        const TBoard before = g_gameBoard;
                        const int level = g_sage.GetLevel();
                        g_cursorX = hx == 0 ? 7 : 0;
                        rig.Press(keyHint);
                        EXPECT_EQ(std::pair(g_cursorX, g_cursorY), std::pair(hx, hy));
                        EXPECT_TRUE(g_gameState == gsHuman && SameBoard(g_gameBoard, before) &&
                                    g_sage.GetLevel() == level);
                    }
                    g_cursorX = x;
                    g_cursorY = y;
                    rig.Frame({move ? keySpace : keyEnter});
                }
                ASSERT_EQ(g_gameState, gsAnimate) << "ply " << plies << " not taken";
            }
            if (g_gameState == gsAnimate) { // a move or a pass: the engine's in its own game
                int x = -1, y = -1;
                helpers[reference.GetTurn()].Think(reference, &x, &y) ? reference.Place(x, y)
                                                                      : reference.Pass();
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
