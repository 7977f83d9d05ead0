#include <string>
#include <vector>

#include "ScreenRig.h"
#include "game/GameRecord.h"
#include "game/KeptGame.h"
#include "platform/GameKeeper.h"

namespace {

// A whole game that ended with squares left that neither side could take.
constexpr const char* kBlockedGameRecord =
    "d3c3c4c5b4a5e6e3d2c1b3e7d1b2a3d6f4f3b5e1b1g4f5a1g5a2c2g6g3a6e8g2h6f6c7e2g1d8c8a4f7g7h7h2c6b6f8"
    "h1f2g8h8f1h4b8h5a8";

// The keeper of a platform that keeps games, installed while the rig lives.
class TKeepingRig : public TScreenRig {
  public:
    explicit TKeepingRig(TRecordingGameKeeper& keeper) { SetGameKeeper(&keeper); }
    ~TKeepingRig() { SetGameKeeper(nullptr); }
};

// The positions of the history, oldest first, then those of the redo line, nearest first.
std::vector<TBoard> HistoryNow() {
    std::vector<TBoard> boards;
    for (size_t i = 0; i < GameHistorySize(); ++i) {
        boards.push_back(GamePositionBefore(i));
    }
    for (size_t i = 0; i < RedoLineSize(); ++i) {
        boards.push_back(RedoPosition(i));
    }
    return boards;
}

TEST(KeptGameTest, EveryPlyIsKeptInItsOwnFrameAndANewRunResumesItWithUndoAndRedo) {
    TRecordingGameKeeper keeper;
    TBoard left;                 // the position the first run was left at
    TBoard beforeUndo;           // the position undo took back
    std::vector<TBoard> history; // and the redo line
    size_t plies = 0;
    {
        TKeepingRig rig(keeper);
        rig.StartGame(playerHuman, playerComputer);
        g_sage.SetLevel(3);
        for (int turn = 0; turn < 4; ++turn) {
            const int keeps = keeper.Keeps;
            PlayLevelOneTurn(rig);
            // The ply is kept in the frame it was played, before any animation or reply.
            EXPECT_EQ(keeper.Keeps, keeps + 1);
            EXPECT_EQ(keeper.Text, KeptGameText());
            ASSERT_TRUE(rig.RunUntil(gsHuman));
        }
        beforeUndo = g_gameBoard;
        ASSERT_TRUE(rig.PressUntil(keyUndo));
        ASSERT_TRUE(HasRedo());
        left = g_gameBoard;
        history = HistoryNow();
        plies = GameHistorySize();
        EXPECT_EQ(keeper.Text, KeptGameText());
        // Frames where nothing happens hand nothing on.
        const int keeps = keeper.Keeps;
        rig.RunFor(2000);
        EXPECT_EQ(keeper.Keeps, keeps);
    }

    // A new run: everything as the program starts, the same storage.
    TKeepingRig rig(keeper);
    ASSERT_TRUE(OfferKeptGame());
    rig.Frame(); // the title's set-up
    rig.Frame(); // the title: the game takes over
    ASSERT_EQ(g_scene, sceneGame);
    ASSERT_TRUE(rig.RunUntil(gsHuman));
    ExpectShown(rig, left);
    EXPECT_EQ(g_playerType[cellBlack], playerHuman);
    EXPECT_EQ(g_playerType[cellWhite], playerComputer);
    EXPECT_EQ(g_sage.GetLevel(), 3);
    const std::vector<TBoard> resumed = HistoryNow();
    EXPECT_TRUE(
        std::equal(resumed.begin(), resumed.end(), history.begin(), history.end(), SameBoard));
    // Redo plays what undo took back, and undo then walks back past where the run was left.
    ASSERT_TRUE(rig.PressUntil(keyRedo));
    EXPECT_TRUE(SameBoard(g_gameBoard, beforeUndo));
    ASSERT_TRUE(rig.PressUntil(keyUndo));
    ASSERT_TRUE(rig.PressUntil(keyUndo));
    EXPECT_TRUE(SameBoard(g_gameBoard, history[plies - 2]));
    // Offered once: a later title is the title.
    EXPECT_FALSE(ResumeKeptGame());
}

TEST(KeptGameTest, AFinishedGameOneLeftWithEscapeOrADamagedTextIsNotResumed) {
    TRecordingGameKeeper keeper;
    TKeepingRig rig(keeper);
    // A whole game pasted into a two-player game: over at once, with its two closing passes, and
    // dropped at its result.
    rig.StartGame(playerHuman, playerHuman);
    PlayLevelOneTurn(rig);
    ASSERT_TRUE(rig.RunUntil(gsHuman));
    ASSERT_TRUE(keeper.HasGame);
    ASSERT_TRUE(rig.PressUntil(keyUndo));
    rig.Clip.SetText(kBlockedGameRecord);
    rig.Press(keyPaste);
    ASSERT_TRUE(rig.RunUntil(gsResult));
    EXPECT_TRUE(g_gameBoard.IsGameOver() && g_gameBoard.GetCount(cellEmpty) > 0);
    EXPECT_GE(GameHistorySize(), std::strlen(kBlockedGameRecord) / 2 + 2);
    rig.Frame({keyControl, keyCopy});
    EXPECT_EQ(rig.Clip.Text, kBlockedGameRecord);
    EXPECT_FALSE(keeper.HasGame);
    EXPECT_FALSE(OfferKeptGame());
    // Even should a finished game's text be found, it is not resumed.
    keeper.Keep(KeptGameText());
    EXPECT_FALSE(OfferKeptGame());
    EXPECT_FALSE(keeper.HasGame);

    // A game in play left with Escape.
    rig.StartGame(playerHuman, playerComputer);
    PlayLevelOneTurn(rig);
    ASSERT_TRUE(rig.RunUntil(gsHuman));
    ASSERT_TRUE(keeper.HasGame);
    ReturnToTitle(); // what Escape in a game does
    rig.RunFor(200);
    EXPECT_FALSE(keeper.HasGame);
    EXPECT_FALSE(OfferKeptGame());
    EXPECT_EQ(g_scene, sceneTitle);

    // A damaged text, or one of another version, is dropped and the title goes on.
    TKeptGame game;
    const std::string good = "Octavane game 1\nplayers human computer\nlevel 9\n"
                             "plies f5 f6 e6\nredo f4 e3\n";
    ASSERT_TRUE(ParseKeptGame(good, game));
    const char* const damaged[] = {
        "",
        "Octavane game 2\nplayers human computer\nlevel 9\nplies f5\nredo\n", // a later version
        "Octavane game 1\nplayers human robot\nlevel 9\nplies f5\nredo\n",
        "Octavane game 1\nplayers human computer\nlevel 0\nplies f5\nredo\n",
        "Octavane game 1\nplayers human computer\nlevel 99999999999\nplies f5\nredo\n",
        "Octavane game 1\nplayers human computer\nlevel 9\nplies f5 f5\nredo\n", // taken square
        "Octavane game 1\nplayers human computer\nlevel 9\nplies f5\nredo a1\n", // no disc turns
        "Octavane game 1\nplayers human computer\nlevel 9\nplies f5\n",          // cut short
        "Octavane game 1\nplayers human computer\nlevel 9\nplies f5\nredo\nmore\n",
    };
    for (const char* text : damaged) {
        EXPECT_FALSE(ParseKeptGame(text, game)) << text;
        keeper.Keep(text);
        EXPECT_FALSE(OfferKeptGame()) << text;
        EXPECT_FALSE(keeper.HasGame) << text;
    }
    rig.RunFor(200);
    EXPECT_EQ(g_scene, sceneTitle);
    // What this version writes reads back as the same game.
    keeper.Keep(good);
    ASSERT_TRUE(OfferKeptGame());
    rig.RunFor(100);
    ASSERT_EQ(g_scene, sceneGame);
    ASSERT_TRUE(rig.RunUntil(gsComputer) || rig.RunUntil(gsHuman));
    EXPECT_EQ(GameRecordText(g_gameBoard).substr(0, 6), "f5f6e6");
}

} // namespace
