#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "ScreenRig.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

bool SameBoard(const TBoard& a, const TBoard& b) {
    return std::memcmp(&a, &b, sizeof(TBoard)) == 0;
}

// The three kinds of game, the computer at level 1; the human's moves are level 3's choices.
const std::tuple<const char*, int, int> kGameKinds[] = {
    {"one player as Black", playerHuman, playerComputer},
    {"one player as White", playerComputer, playerHuman},
    {"two players", playerHuman, playerHuman}};

class PlayerAidsTest : public ::testing::Test {
  protected:
    void StartGame(int black, int white) {
        g_sage.SetLevel(1);
        Rig.StartGame(black, white);
    }
    // Plays `moves` human moves, calling `atTurn` at each human turn first (and at the last),
    // and returns the boards of those turns.
    std::vector<TBoard> PlayHumanMoves(int moves, const std::function<void()>& atTurn = {}) {
        TSage helper;
        helper.SetLevel(3);
        std::vector<TBoard> turns;
        for (int i = 0; i <= moves && !HasFatalFailure(); ++i) {
            EXPECT_EQ(g_gameState, gsHuman);
            turns.push_back(g_gameBoard);
            if (atTurn) {
                atTurn();
            }
            if (i < moves) {
                Rig.Frame(
                    {helper.Think(g_gameBoard, &g_cursorX, &g_cursorY) ? keySpace : keyEnter});
                EXPECT_TRUE(Rig.RunUntilGameState(gsHuman));
            }
        }
        return turns;
    }
    TScreenRig Rig;
};

TEST_F(PlayerAidsTest, HintGlidesTheCursorToLevelEightsMoveAndPlaysNothing) {
    for (const auto& [name, black, white] : kGameKinds) {
        SCOPED_TRACE(name);
        StartGame(black, white);
        PlayHumanMoves(3, [this] {
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
            EXPECT_EQ(Rig.Sounds().size(), 1u);
            EXPECT_EQ(g_gameState, gsHuman);
            EXPECT_TRUE(SameBoard(g_gameBoard, before));
            EXPECT_EQ(g_sage.GetLevel(), 1);
        });
    }
}

// Undo walks back one human turn at a time to the start, the computer's replies with it, each
// position restored exactly, discs and side to move as they were; with nothing left it only
// knocks; and the game then replays as before.
TEST_F(PlayerAidsTest, UndoWalksBackToTheStartAndTheGameReplaysTheSame) {
    for (const auto& [name, black, white] : kGameKinds) {
        SCOPED_TRACE(name);
        StartGame(black, white);
        const std::vector<TBoard> turns = PlayHumanMoves(4);
        ASSERT_EQ(turns.size(), 5u);
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
                }
            }
            EXPECT_TRUE(g_pointer->Visible);
        }
        Rig.ClearSounds();
        Rig.Press(keyUndo);
        EXPECT_TRUE(SameBoard(g_gameBoard, turns[0]));
        ASSERT_EQ(Rig.Sounds().size(), 1u);
        EXPECT_EQ(Rig.Sounds()[0].Id, sndDown);
        const std::vector<TBoard> replay = PlayHumanMoves(4);
        for (size_t i = 0; i < turns.size() && i < replay.size(); ++i) {
            EXPECT_TRUE(SameBoard(replay[i], turns[i])) << "turn " << i;
        }
    }
}

// The squares the legal-move marks were drawn on in the last frame, told by their gold
// material and placed by the world transform before it.
std::vector<std::pair<int, int>> MarksDrawn(const TRecordingLog& log) {
    std::vector<std::pair<int, int>> squares;
    const D3DMATRIX* world = nullptr;
    for (const TRecordedCall& call : log.GetCalls()) {
        if (call.Kind == callSetTransform && call.Type == D3DTRANSFORMSTATE_WORLD) {
            world = &call.Matrix();
        } else if (call.Kind == callSetMaterial && world) {
            const D3DCOLORVALUE& d = call.Material().diffuse;
            if (d.r == 1 && d.g > 0.8f && d.g < 0.9f) {
                squares.emplace_back(static_cast<int>(world->_41 / 140 + 3.5),
                                     static_cast<int>(world->_42 / 140 + 3.5));
            }
        }
    }
    return squares;
}

TEST_F(PlayerAidsTest, LTogglesMarksOnTheLegalSquaresInTheHumansTurnOnly) {
    StartGame(playerHuman, playerComputer);
    Rig.Frame();
    EXPECT_TRUE(MarksDrawn(Rig.Log()).empty());
    Rig.Press(keyMarks);
    EXPECT_EQ(ShowMoves, 1);
    const std::vector<std::pair<int, int>> legal = {{3, 2}, {2, 3}, {5, 4}, {4, 5}};
    EXPECT_EQ(MarksDrawn(Rig.Log()), legal);
    g_cursorX = 3;
    g_cursorY = 2;
    Rig.Frame({keySpace});
    for (int frames = 0; frames < 500 && g_gameState != gsHuman; ++frames) {
        EXPECT_TRUE(MarksDrawn(Rig.Log()).empty()) << "state " << g_gameState;
        Rig.Clock.Advance(20);
        Rig.Frame();
    }
    ASSERT_EQ(g_gameState, gsHuman);
    EXPECT_FALSE(MarksDrawn(Rig.Log()).empty());
    Rig.Press(keyMarks);
    EXPECT_EQ(ShowMoves, 0);
    EXPECT_TRUE(MarksDrawn(Rig.Log()).empty());
}

} // namespace
