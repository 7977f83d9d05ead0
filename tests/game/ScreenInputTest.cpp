#include "game/ScreenInput.h"
#include "ScreenRig.h"

namespace {

// The mouse becomes the same actions as the keys on every screen, and never a key state: those
// stay as the poll wrote them, so a key held on the keyboard is neither pressed again nor let go
// of by a click.
TEST(ScreenInputTest, TheMouseActsThroughTheKeysActionsWithoutTouchingKeyStates) {
    TScreenRig rig;
    rig.Frame();
    ASSERT_EQ(g_titleState, tsTitle);
    uint8_t polled[keyCount] = {};
    polled[keyControl] = KEY_HELD;
    polled[keyLeft] = KEY_HELD | KEY_REPEATING;
    const auto pollAgain = [&] { std::copy(std::begin(polled), std::end(polled), g_keyState); };
    const auto untouched = [&] {
        return std::equal(std::begin(polled), std::end(polled), g_keyState);
    };

    // The title: a click anywhere is Space.
    pollAgain();
    g_mouse = TMouseFrame{true, 320, 100, false, true};
    ClearMouseActions();
    ReadTitleMouse();
    EXPECT_TRUE(Triggered(keySpace));
    EXPECT_FALSE(Triggered(keyLeft) || Triggered(keyEnter));
    EXPECT_TRUE(untouched()) << "the title's mouse wrote a key state";
    ClearMouseActions();
    EXPECT_FALSE(Triggered(keySpace));

    // The menu: a right click is Enter, a wheel step up is Up.
    rig.Press(keySpace);
    ASSERT_EQ(g_titleState, tsMenu);
    pollAgain();
    g_mouse = TMouseFrame{true, 320, 20, false, false, true, 1};
    ClearMouseActions();
    ReadTitleMouse();
    EXPECT_TRUE(Triggered(keyEnter) && Triggered(keyUp) && !Triggered(keySpace));
    EXPECT_TRUE(untouched());

    // The game: a left click on a square plays there as Space does, through the same action.
    rig.StartGame(playerHuman, playerHuman);
    std::fill(std::begin(polled), std::end(polled), 0);
    const TScreenPoint square = ScreenPointOfSquare(3, 2);
    rig.Mouse(square, true);
    EXPECT_TRUE(g_gameState == gsAnimate && g_gameBoard.GetCell(3, 2) == cellBlack);
    EXPECT_TRUE(Triggered(keySpace)) << "the click was not the game's Space";
    EXPECT_TRUE(untouched());
}

} // namespace
