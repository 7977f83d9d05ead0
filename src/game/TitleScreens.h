#pragma once

// The title family: the title over an orbiting view of the board, and below it the prompt, the
// main menu, the level list or the configuration. Run once per frame while g_scene is sceneTitle.

extern int g_menuCursor;   // selected menu line 0..4
extern int g_levelCursor;  // level cursor 1..20; "Expert" spans 7..12, "Extreme" 13..18
extern int g_configCursor; // selected configuration line 0..5; [BACK] is the last

inline constexpr int kLevelCursorOpen = 4; // the level list opens on "Normal"
inline constexpr int kLevelCursorLast = 20;

// Engine level 1..10 for a level cursor 1..20.
int LevelOfCursor(int cursor);

// The board colour steps 0..kBoardStepMax as colour values 0..255.
int BoardColourOfStep(int step);

// Pushes BoardR, BoardG, BoardB into the board model.
void ApplyBoardColour();

// One frame of the title family; called by the frame loop after the input poll.
void RunTitleScreens();
