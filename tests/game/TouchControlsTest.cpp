#include "ScreenRig.h"

#include "game/PageControlsShown.h"
#include "scene/Solidring.h"

namespace {

constexpr TPageControlSet Bits(std::initializer_list<int> controls) {
    TPageControlSet set = 0;
    for (const int control : controls) {
        set |= PageControlBit(control);
    }
    return set;
}

constexpr TPageControlSet kGameAids =
    Bits({pageBack, pageUndo, pageRedo, pageHint, pageMarks, pageCopy, pageAnalysis});

// Eight plies from the start after which Black has no move and White has: a forced pass.
constexpr std::pair<int, int> kToForcedPass[] = {{3, 2}, {2, 2}, {1, 2}, {1, 1},
                                                 {5, 4}, {0, 2}, {0, 0}, {2, 0}};

// The title's help line and the pass hint name what the player used last.
const std::tuple<int, const char*, const char*> kHelps[] = {
    {inputKeys, "Arrows move  -  Space selects  -  Enter goes back  -  Esc quits",
     "パスは Enter キー"},
    {inputMouse, "Click to choose  -  Right click goes back  -  Esc quits", "パスは右クリック"},
    {inputTouch, "Tap to start", "パスは Pass ボタン"}};

// "Paste" only before the first move of a two-player game; "Back" leaves a game for the title
// after its frame is drawn. With the marks on, the last disc placed has a red ring round it,
// none while a move is animated; after a pass or an undo, round the last disc.
TEST(TouchControlsTest, AGameShowsPassOnlyWhenDueAndBackLeavesIt) {
    const auto ring = [&](int column, int row) {
        return column < 0 ? std::vector<std::pair<double, double>>()
                          : std::vector{std::pair(CellToWorld(column), CellToWorld(row))};
    };
    TScreenRig rig;
    rig.Frame();
    for (const auto& [kind, title, pass] : kHelps) {
        g_inputKind = kind;
        rig.Frame();
        EXPECT_NE(rig.FindText(title), nullptr) << title;
    }
    rig.Press(keySpace);
    EXPECT_NE(rig.FindText("Tap to choose  -  Back goes back"), nullptr);
    rig.Press(keySpace);
    EXPECT_NE(rig.FindText("Tap to choose  -  Down goes past Expert  -  Back goes back"), nullptr);
    rig.StartGame(playerHuman, playerComputer);
    EXPECT_EQ(PageControls().Shown(), kGameAids) << "Paste in a one-player game";
    rig.StartGame(playerHuman, playerHuman);
    EXPECT_EQ(PageControls().Shown(), kGameAids | Bits({pagePaste}));
    rig.Press(keyMarks);
    EXPECT_EQ(rig.DrawnIn(TSolidRing::kLastMoveColour), ring(-1, -1));
    for (const auto& [column, row] : kToForcedPass) {
        EXPECT_EQ(PageControls().Shown() & Bits({pagePass}), 0u);
        rig.PlayAt(column, row);
        EXPECT_EQ(PageControls().Shown(), kGameAids);
        EXPECT_EQ(rig.DrawnIn(TSolidRing::kLastMoveColour), ring(-1, -1)) << "while animated";
        ASSERT_TRUE(rig.RunUntil(gsHuman));
        EXPECT_EQ(rig.DrawnIn(TSolidRing::kLastMoveColour), ring(column, row));
    }
    EXPECT_TRUE(g_gameBoard.MustPass());
    EXPECT_EQ(g_gameBoard.GetTurn(), cellBlack);
    EXPECT_EQ(PageControls().Shown(), kGameAids | Bits({pagePass}));
    for (const auto& [kind, title, pass] : kHelps) {
        g_inputKind = kind;
        rig.Frame();
        EXPECT_NE(rig.FindText(pass), nullptr) << pass;
    }
    rig.Press(keySpace); // no square to play
    ASSERT_EQ(g_gameState, gsHuman);
    rig.Press(keyEnter); // the page's "Pass": its banner shows for the wait
    EXPECT_TRUE(g_gameState == gsWait && rig.FindText("Black Pass"));
    EXPECT_EQ(PageControls().Shown(), kGameAids);
    ASSERT_TRUE(rig.RunUntil(gsHuman));
    EXPECT_EQ(g_gameBoard.GetTurn(), cellWhite);
    EXPECT_EQ(rig.DrawnIn(TSolidRing::kLastMoveColour), ring(2, 0)) << "after the pass";
    rig.Press(keyMarks);
    EXPECT_EQ(rig.DrawnIn(TSolidRing::kLastMoveColour), ring(-1, -1)) << "marks off";
    rig.Press(keyMarks);
    ASSERT_TRUE(rig.PressUntil(keyUndo)); // back over the forced pass, before White's c1
    EXPECT_EQ(rig.DrawnIn(TSolidRing::kLastMoveColour), ring(0, 0)) << "after the undo";

    g_gameState = gsResult;
    rig.Frame();
    EXPECT_EQ(PageControls().Shown(), Bits({pageBack, pageMarks, pageCopy}));
    g_gameState = gsHuman;
    rig.Frame({keyBack});
    EXPECT_NE(rig.FindText("Black"), nullptr) << "the frame of the Back is still the game's";
    EXPECT_EQ(g_scene, sceneTitle);
    EXPECT_EQ(g_titleState, tsInit);
    rig.Frame();
    EXPECT_EQ(PageControls().Shown(), 0u);
}

} // namespace
