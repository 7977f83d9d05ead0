#pragma once

#include "game/TitleScreens.h"

// Where the title screens' panels put their lines, in logical pixels of the screen,
// and the level cursor's bands: the drawing and the mouse's hit test both read them here.

inline constexpr int kMenuLines = 5;
inline constexpr int kMenuTop = 288;
inline constexpr int kMenuPitch = 28;

// The level and configuration panels: a heading, then their lines.
inline constexpr int kPanelTop = 276;
inline constexpr int kListTop = kPanelTop + 28; // the first line, under the heading
inline constexpr int kListPitch = 18;
inline constexpr int kConfigLines = 6;       // R, G, B, fog, speed, [BACK]
inline constexpr int kConfigColourLines = 3; // R, G, B
inline constexpr int kLevelLines = 7;        // six levels, then "Expert" or what took its place
inline constexpr int kLevelLastBottom = 440; // the last level line may be drawn larger

// Text heights.
inline constexpr int kHeadingHeight = 24;
inline constexpr int kLineHeight = 16;
inline constexpr int kSelectedLineHeight = 20;

// The level cursor runs 1..20: one step a level up to six, then a band of presses for each of
// Expert and Extreme, so that reaching the strongest takes persistence, then one press each for
// Extreme+ and, past it, Master.
inline constexpr int kPlainLevels = 6;
inline constexpr int kExpertCursor = kPlainLevels + 1;
inline constexpr int kExtremeCursor = 13;
inline constexpr int kExtremePlusCursor = 19;
inline constexpr int kMasterCursor = kLevelCursorLast;
