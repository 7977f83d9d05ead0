#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "game/GameAids.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

bool SameBoard(const TBoard& a, const TBoard& b) {
    return std::memcmp(&a, &b, sizeof(TBoard)) == 0;
}

// The three kinds of game, the computer at level 1; the human's moves are level 3's choices.
struct TGameKind {
    const char* Name;
    int Black, White;
};
const TGameKind kGameKinds[] = {{"one player as Black", playerHuman, playerComputer},
                                {"one player as White", playerComputer, playerHuman},
                                {"two players", playerHuman, playerHuman}};

class PlayerAidsTest : public ::testing::Test {
  protected:
    TScreenRig Rig;

    void StartGame(const TGameKind& kind) {
        g_playerType[cellBlack] = kind.Black;
        g_playerType[cellWhite] = kind.White;
        g_sage.SetLevel(1);
        g_scene = sceneGame;
        g_gameState = gsStart;
        Rig.Frame();
        ASSERT_TRUE(Rig.RunUntilGameState(gsHuman));
    }

    // Plays `moves` human moves from the human's turn, calling `atTurn` at each human turn
    // first (and once more at the last), and returns the boards of those turns.
    std::vector<TBoard> PlayHumanMoves(int moves, const std::function<void()>& atTurn = {}) {
        TSage helper;
        helper.SetLevel(3);
        std::vector<TBoard> turns;
        for (int i = 0; i <= moves; ++i) {
            EXPECT_EQ(g_gameState, gsHuman);
            turns.push_back(g_gameBoard);
            if (atTurn) {
                atTurn();
            }
            if (i == moves) {
                break;
            }
            if (helper.Think(g_gameBoard, &g_cursorX, &g_cursorY)) {
                Rig.Frame({keySpace});
            } else {
                Rig.Frame({keyEnter});
            }
            EXPECT_TRUE(Rig.RunUntilGameState(gsHuman));
        }
        return turns;
    }
};

// --- The hint ---

TEST_F(PlayerAidsTest, HintGlidesTheCursorToLevelEightsMoveAndPlaysNothing) {
    for (const TGameKind& kind : kGameKinds) {
        SCOPED_TRACE(kind.Name);
        StartGame(kind);
        PlayHumanMoves(4, [this] {
            TSage extreme;
            extreme.SetLevel(8);
            int x = -1;
            int y = -1;
            ASSERT_TRUE(extreme.Think(g_gameBoard, &x, &y));
            g_cursorX = x == 0 ? 7 : 0; // elsewhere, so that the hint moves it
            const TBoard before = g_gameBoard;
            Rig.ClearSounds();
            Rig.Press(keyHint);
            EXPECT_EQ(g_cursorX, x);
            EXPECT_EQ(g_cursorY, y);
            EXPECT_EQ(Rig.SoundsOf(sndMove).size() + Rig.SoundsOf(sndMove2).size(), 1u);
            EXPECT_EQ(g_gameState, gsHuman);
            EXPECT_TRUE(SameBoard(g_gameBoard, before));
            EXPECT_EQ(g_sage.GetLevel(), 1);
        });
    }
}

// --- Undo ---

// Undo walks back one human turn at a time to the start, the computer's replies with it, each
// position restored exactly with the discs, the counts and the side to move as they were;
// with nothing left it only knocks; and the game then replays as before.
TEST_F(PlayerAidsTest, UndoWalksBackToTheStartAndTheGameReplaysTheSame) {
    for (const TGameKind& kind : kGameKinds) {
        SCOPED_TRACE(kind.Name);
        StartGame(kind);
        const std::vector<TBoard> turns = PlayHumanMoves(5);
        for (size_t back = turns.size() - 1; back-- > 0;) {
            SCOPED_TRACE(back);
            const uint32_t pressed = Rig.Clock.Now();
            Rig.Press(keyUndo);
            ASSERT_TRUE(Rig.RunUntilGameState(gsHuman));
            EXPECT_LE(Rig.Clock.Now() - pressed, 1000u);
            const TBoard& expected = turns[back];
            EXPECT_TRUE(SameBoard(g_gameBoard, expected));
            EXPECT_TRUE(SameBoard(g_shownBoard, expected));
            for (int i = 0; i < 64; ++i) {
                const int cell = expected.GetCell(i % 8, i / 8);
                ASSERT_EQ(g_pieces[i]->Visible, cell != cellEmpty) << i;
                if (cell != cellEmpty) {
                    EXPECT_DOUBLE_EQ(g_pieces[i]->Rotation.X.GetValue(),
                                     cell == cellWhite ? 180.0 : 0.0)
                        << i;
                    EXPECT_DOUBLE_EQ(g_pieces[i]->Position.Z.GetValue(), 10.0) << i;
                }
            }
            EXPECT_TRUE(g_pointer->Visible);
            Rig.Frame();
            const char* counts[2] = {"Black", "White"};
            EXPECT_EQ(Rig.FindText(counts[expected.GetTurn() - 1])->Colour, 0x00FFFFu);
        }
        Rig.ClearSounds();
        Rig.Press(keyUndo);
        EXPECT_EQ(g_gameState, gsHuman);
        EXPECT_TRUE(SameBoard(g_gameBoard, turns[0]));
        ASSERT_EQ(Rig.Sounds().size(), 1u);
        EXPECT_EQ(Rig.Sounds()[0].Id, sndDown);
        const std::vector<TBoard> replay = PlayHumanMoves(5);
        for (size_t i = 0; i < turns.size(); ++i) {
            EXPECT_TRUE(SameBoard(replay[i], turns[i])) << "turn " << i;
        }
    }
}

// --- The legal-move marks ---

// The squares the marks were drawn on in the last frame (told by their gold material, placed by
// the world transform before it), and whether every one came after the board and before the
// first disc (told by the board's dark base and the discs' black material).
struct TMarksDrawn {
    std::vector<std::pair<int, int>> Squares;
    bool BetweenBoardAndDiscs = true;
};
TMarksDrawn MarksDrawn(const TRecordingLog& log) {
    TMarksDrawn drawn;
    int board = 0;
    int discs = 0;
    const D3DMATRIX* world = nullptr;
    for (const TRecordedCall& call : log.GetCalls()) {
        if (call.Kind == callSetTransform && call.Type == D3DTRANSFORMSTATE_WORLD) {
            world = &call.Matrix();
        } else if (call.Kind == callSetMaterial) {
            const D3DCOLORVALUE& d = call.Material().diffuse;
            board += d.r == 0 && d.g == 0 && d.b == 0 && discs == 0 && board == 0 ? 1 : 0;
            discs += d.r == 0 && d.g == 0 && d.b == 0 && board > 0 && world->_43 > 5 ? 1 : 0;
            if (d.r == 1 && d.g > 0.8f && d.g < 0.9f) {
                drawn.Squares.emplace_back(static_cast<int>(world->_41 / 140 + 3.5),
                                           static_cast<int>(world->_42 / 140 + 3.5));
                drawn.BetweenBoardAndDiscs = drawn.BetweenBoardAndDiscs && board && !discs;
            }
        }
    }
    return drawn;
}

TEST_F(PlayerAidsTest, LTogglesMarksOnTheLegalSquaresInTheHumansTurnOnly) {
    StartGame(kGameKinds[0]);
    Rig.Frame();
    EXPECT_TRUE(MarksDrawn(Rig.Log()).Squares.empty());
    Rig.Press(keyMarks);
    EXPECT_EQ(ShowMoves, 1);
    Rig.Frame();
    const TMarksDrawn drawn = MarksDrawn(Rig.Log());
    const std::vector<std::pair<int, int>> legal = {{3, 2}, {2, 3}, {5, 4}, {4, 5}};
    EXPECT_EQ(drawn.Squares, legal);
    EXPECT_TRUE(drawn.BetweenBoardAndDiscs);
    // While the move shows and the computer answers, none.
    g_cursorX = 3;
    g_cursorY = 2;
    Rig.Frame({keySpace});
    for (int frames = 0; frames < 500 && g_gameState != gsHuman; ++frames) {
        EXPECT_TRUE(MarksDrawn(Rig.Log()).Squares.empty()) << "state " << g_gameState;
        Rig.Clock.Advance(20);
        Rig.Frame();
    }
    ASSERT_EQ(g_gameState, gsHuman);
    EXPECT_FALSE(MarksDrawn(Rig.Log()).Squares.empty());
    Rig.Press(keyMarks);
    EXPECT_EQ(ShowMoves, 0);
    EXPECT_TRUE(MarksDrawn(Rig.Log()).Squares.empty());
}

} // namespace
