#include "ScreenRig.h"
#include "scene/Solidpiece.h"

namespace {

using TMoves = std::vector<std::pair<int, int>>; // (-1, -1) for a pass

// The game the engine alone plays at these levels.
std::pair<TBoard, TMoves> Replay(int blackLevel, int whiteLevel) {
    TSage sages[3];
    sages[cellBlack].SetLevel(blackLevel);
    sages[cellWhite].SetLevel(whiteLevel);
    TBoard board;
    TMoves moves;
    for (int plies = 0; plies < 130 && !board.IsGameOver(); ++plies) {
        int x = -1, y = -1;
        sages[board.GetTurn()].Think(board, &x, &y) ? board.Place(x, y) : board.Pass();
        moves.emplace_back(x, y);
    }
    EXPECT_TRUE(board.IsGameOver()) << "the engine's game does not end in 130 plies";
    return {board, moves};
}

struct TGameRow {
    const char* Name;
    int MenuLine, LevelCursor;  // how the game is chosen
    bool Mouse;                 // played by clicks (a pass by a right click) or by keys
    int BlackLevel, WhiteLevel; // the computer's level, and the level choosing the human's moves
    const char* Result;
    int Sound;
};

// Whole games from the title to the result and back, through the screens: each is the game the
// engine alone plays at the same levels. The mouse game's squares are picked where the camera
// shows them, the first while the free view has turned it.
class WholeGameTest : public ::testing::TestWithParam<TGameRow> {};

TEST_P(WholeGameTest, PlaysTheEnginesGameToItsResult) {
    const TGameRow& row = GetParam();
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
    EXPECT_EQ(g_playerType[row.MenuLine == 1 ? cellWhite : cellBlack], playerHuman);
    TSage helpers[3];
    helpers[cellBlack].SetLevel(row.BlackLevel);
    helpers[cellWhite].SetLevel(row.WhiteLevel);
    TMoves moves;
    std::vector<std::pair<TBoard, size_t>> turns; // the position and the moves made at each turn
    bool undone = false;
    // A move takes some 60 frames of animation and wait; a game is at most 130 of them.
    for (int idle = 0; g_gameState != gsResult; ++idle) {
        ASSERT_LT(idle, 200) << "no move for 200 frames after move " << moves.size();
        ASSERT_LT(moves.size(), 130u) << "the game does not end";
        if (g_gameState != gsHuman) {
            rig.Clock.Advance(50);
            rig.Frame();
        } else if (!undone && turns.size() == 5 && moves.size() > turns[4].second) {
            undone = true;
            // Undo walks back a human turn at a time, the computer's replies with it, each
            // position shown as it was; at the start it only knocks. The game goes on from there.
            for (size_t back = turns.size(); back-- > 0;) {
                SCOPED_TRACE(back);
                rig.Press(keyUndo);
                ASSERT_TRUE(rig.RunUntil(gsHuman, 1000)) << "undo took longer than a second";
                const TBoard& was = turns[back].first;
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
            EXPECT_TRUE(SameBoard(g_gameBoard, turns[0].first));
            moves.resize(turns[0].second);
        } else {
            if (turns.size() < 5) {
                turns.emplace_back(g_gameBoard, moves.size());
            }
            int x = -1, y = -1;
            const bool move = helpers[g_gameBoard.GetTurn()].Think(g_gameBoard, &x, &y);
            if (row.Mouse && moves.empty()) { // picked through the free view: three steps round
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
                rig.Mouse(move ? ScreenPointOfSquare(x, y) : TScreenPoint{600, 20}, move, !move);
            } else {
                g_cursorX = x;
                g_cursorY = y;
                rig.Frame({move ? keySpace : keyEnter});
            }
            ASSERT_EQ(g_gameState, gsAnimate) << "move " << moves.size() << " not taken";
        }
        if (g_gameState == gsAnimate) {
            moves.emplace_back(g_lastMove.isPass ? -1 : g_lastMove.x,
                               g_lastMove.isPass ? -1 : g_lastMove.y);
            idle = 0;
        }
    }
    const auto [board, reference] = Replay(row.BlackLevel, row.WhiteLevel);
    EXPECT_EQ(moves, reference);
    EXPECT_TRUE(SameBoard(g_gameBoard, board));
    EXPECT_NE(rig.FindText(row.Result), nullptr) << row.Result;
    EXPECT_EQ(rig.CountSounds(row.Sound), 1);
    EXPECT_EQ(rig.CountSounds(row.Sound == sndWin ? sndLose : sndWin), 0);
    row.Mouse ? rig.Mouse({320, 240}, true) : rig.Press(keySpace);
    EXPECT_EQ(g_scene, sceneTitle);
}

INSTANTIATE_TEST_SUITE_P(
    Games, WholeGameTest,
    ::testing::Values(TGameRow{"BlackLosesToHard", 0, 5, false, 1, 5, "You Lose!", sndLose},
                      TGameRow{"WhiteBeatsPoor", 1, 1, false, 1, 3, "You Win!", sndWin},
                      TGameRow{"TwoPlayersByMouseDraw", 2, 0, true, 1, 1, "Draw!", sndWin}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
