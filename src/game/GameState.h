#pragma once

#include <cstdint>

// Which screen family runs each frame, and the state of each. The frame loop dispatches on
// g_scene; the window procedure sends Escape back to the title through these too.
//
// Whoever changes g_scene, g_titleState or g_gameState stores GetTickCount() in g_stateTime at
// the same moment (the free view's two transitions excepted). Only the game scene's wait reads it.

enum TScene : int {
    sceneTitle = 0, // title, menu, level list, configuration
    sceneGame = 1,  // the game in progress
};

enum TTitleState : int {
    tsInit = 0, // sets up the title animation in its one frame
    tsTitle = 1,
    tsMenu = 2,
    tsLevel = 3,
    tsConfig = 4,
};

enum TGameState : int {
    gsStart = 0, // sets up a new game on the next frame
    gsNextTurn = 1,
    gsComputer = 2,
    gsHuman = 3,
    gsView = 4,
    gsAnimate = 5,
    gsWait = 6,
    gsResult = 7,
};

extern int g_scene;
extern int g_titleState;
extern int g_gameState;
extern uint32_t g_stateTime; // tick count (ms) of the last state change

// Sets g_scene and g_titleState to the title's first state and stamps g_stateTime: the title
// re-initialises on the next frame. Used by Escape in the game and by the end of a game.
void ReturnToTitle();

// How the menu's "[ EXIT ]" ends the program. The program installs a handler that posts
// WM_CLOSE to its window, so the devices are released between frames and never under a screen
// that is still drawing. Without a handler the request does nothing.
using TCloseHandler = void (*)();
void SetCloseHandler(TCloseHandler handler);
void RequestClose();
