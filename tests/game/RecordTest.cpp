#include <string>
#include <vector>

#include "ScreenRig.h"
#include "scene/Solidpiece.h"

namespace {

// Each step shows the position, counts and side to move as played; one more only knocks.
// Against the computer a redo replays its reply too, as it was (not thought again).
TEST(RedoTest, UndoAndRedoWalkTheGameToItsStartAndBackToItsEnd) {
    const std::pair<int, int> players[] = {
        {playerHuman, playerHuman}, {playerHuman, playerComputer}, {playerComputer, playerHuman}};
    for (const auto& [black, white] : players) {
        SCOPED_TRACE(black * 2 + white);
        TScreenRig rig;
        AnimationSpeed = black == white ? speedNormal : speedFast;
        g_sage.SetLevel(1);
        rig.StartGame(black, white);
        std::vector<TBoard> turns = {g_gameBoard}; // the position at each human turn
        std::string record;
        for (int ply = 0; ply < 8; ++ply) {
            PlayLevelOneTurn(rig, &record);
            ASSERT_TRUE(rig.RunUntil(gsHuman));
            turns.push_back(g_gameBoard);
        }
        g_sage.SetLevel(6); // a reply thought again would differ or take long
        for (size_t back = turns.size() - 1; back-- > 0;) {
            ASSERT_TRUE(rig.PressUntil(keyUndo, gsHuman, 3000)) << back;
            ExpectShown(rig, turns[back]);
        }
        rig.Sounds.clear();
        rig.Frame({keyControl, keyUndo}); // Control+Z: nothing left
        EXPECT_EQ(rig.Knocks(), 1);
        EXPECT_EQ(g_gameState, gsHuman);
        for (size_t forth = 1; forth < turns.size(); ++forth) {
            ASSERT_TRUE(rig.PressUntil(keyRedo, gsHuman, 6000)) << forth;
            ExpectShown(rig, turns[forth]);
            if (forth == 2) { // an undo in between, and its move redone again
                ASSERT_TRUE(rig.PressUntil(keyUndo, gsHuman, 3000));
                ExpectShown(rig, turns[1]);
                rig.Frame({keyControl});
                rig.Frame({keyControl, keyRedo}); // Control+Y
                rig.Frame();
                ASSERT_TRUE(rig.RunUntil(gsHuman, 6000));
                ExpectShown(rig, turns[2]);
            }
        }
        rig.Sounds.clear();
        rig.Press(keyRedo);
        EXPECT_EQ(rig.Knocks(), 1) << "nothing to redo";
        EXPECT_TRUE(g_gameState == gsHuman && SameBoard(g_gameBoard, turns.back()));
        // A move after an undo, even the very move taken back, drops the redo line.
        if (black == white) {
            ASSERT_TRUE(rig.PressUntil(keyUndo));
            PlayLevelOneTurn(rig);
            ASSERT_TRUE(rig.RunUntil(gsHuman));
            rig.Sounds.clear();
            rig.Frame({keyControl, keyRedo});
            EXPECT_EQ(rig.Knocks(), 1) << "redone after a new move";
        }
    }
}

// A record is the squares of the moves without the passes; the opening move alone is "d3".
TEST(RecordTest, AWholeGamesRecordRoundTripsThroughTheClipboard) {
    TScreenRig rig;
    AnimationSpeed = speedFast;
    rig.StartGame(playerHuman, playerHuman);
    std::tie(g_cursorX, g_cursorY) = std::pair(3, 2);
    rig.Frame({keySpace});
    rig.Frame({keyControl, keyCopy});
    EXPECT_EQ(rig.Clip.Text, "d3");
    rig.Clip.Works = false; // a copy the system refuses knocks; without a clipboard too
    rig.Frame({keyControl, keyCopy});
    SetClipboard(nullptr);
    rig.Frame({keyControl, keyCopy});
    EXPECT_EQ(rig.Knocks(), 2);
    SetClipboard(&rig.Clip);
    rig.Clip.Works = true;
    std::string record = "d3";
    int plies = 1;
    int passes = 0;
    while (rig.RunUntil(gsHuman)) {
        passes += g_gameBoard.MustPass() ? 1 : 0;
        PlayLevelOneTurn(rig, &record);
        ++plies;
    }
    ASSERT_EQ(g_gameState, gsResult);
    const TBoard final = g_gameBoard;
    ASSERT_GE(passes, 1) << "this game has a pass in it, which the record leaves out";
    rig.Frame({keyControl, keyCopy});
    EXPECT_EQ(rig.Clip.Text, record) << passes << " passes";
    EXPECT_EQ(record.size(), 2u * static_cast<size_t>(plies - passes));

    ReturnToTitle();
    rig.Frame();
    rig.StartGame(playerHuman, playerHuman);
    // In capitals, set apart by spaces, tabs and line breaks.
    std::string pasted = "\n";
    for (size_t i = 0; i < record.size(); i += 2) {
        pasted += static_cast<char>(record[i] - 'a' + 'A');
        pasted += record[i + 1];
        pasted += i % 4 == 0 ? " \t" : "\r\n";
    }
    rig.Clip.Text = pasted;
    rig.Clip.Sets = 0;
    rig.Frame({keyControl});
    rig.Frame({keyControl, keyPaste}); // Control first, as fingers press it
    rig.RunUntil(gsResult);
    EXPECT_EQ(g_gameState, gsResult);
    EXPECT_TRUE(SameBoard(g_gameBoard, final) && SameBoard(g_shownBoard, final));
    EXPECT_EQ(GameHistorySize(), static_cast<size_t>(plies));
    rig.Frame({keyControl, keyCopy});
    EXPECT_EQ(rig.Clip.Text, record);
    for (int i = 0; i < 64; ++i) {
        const int cell = final.GetCell(i % 8, i / 8);
        ASSERT_EQ(g_pieces[i]->Visible, cell != cellEmpty) << i;
        EXPECT_TRUE(cell == cellEmpty ||
                    g_pieces[i]->Rotation.X.GetValue() == (cell == cellWhite ? 180 : 0));
    }
}

// Anything else only knocks and changes nothing.
TEST(RecordTest, OnlyALegalRecordAtATwoPlayerStartIsPasted) {
    std::string sixtyOne;
    while (sixtyOne.size() < 122) {
        sixtyOne += "d3";
    }
    // The clipboard's text ("" and no text: empty), the players, whether a move comes first.
    const std::tuple<const char*, std::string, bool, bool> rows[] = {
        {"nothing on the clipboard", "", true, false},
        {"an illegal move", "d3d3", true, false},
        {"a square off the board", "d3c9", true, false},
        {"another notation", "1. d3 c5", true, false},
        {"more moves than squares", sixtyOne, true, false},
        {"one player", "d3", false, false},
        {"after a move", "c5", true, true},
    };
    for (const auto& [why, text, twoPlayers, moveFirst] : rows) {
        SCOPED_TRACE(why);
        TScreenRig rig;
        rig.StartGame(playerHuman, twoPlayers ? playerHuman : playerComputer);
        if (moveFirst) {
            std::tie(g_cursorX, g_cursorY) = std::pair(3, 2);
            rig.Frame({keySpace});
            ASSERT_TRUE(rig.RunUntil(gsHuman));
        }
        const TBoard before = g_gameBoard;
        const size_t plies = GameHistorySize();
        if (!text.empty()) {
            rig.Clip.SetText(text);
        }
        rig.Sounds.clear();
        rig.Frame({keyControl, keyPaste});
        EXPECT_EQ(rig.Knocks(), 1);
        EXPECT_TRUE(SameBoard(g_gameBoard, before) && GameHistorySize() == plies);
        EXPECT_EQ(g_gameState, gsHuman);
    }
}

} // namespace
