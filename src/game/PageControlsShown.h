#pragma once

#include "platform/PageControls.h"

// Which of the page's controls act on the screen that runs (see platform/PageControls.h): "Back"
// everywhere but the title's prompt; "Pass" while the side to move must pass; the aids in a game
// (not on its result, except the marks and the copy); "Paste" at the start of a two-player game;
// the arrows on the level list, where they reach the levels past "Expert".
TPageControlSet PageControlsOfScreen();

// Tells the page what PageControlsOfScreen() says; after each frame's screens.
void ShowPageControlsOfScreen();
