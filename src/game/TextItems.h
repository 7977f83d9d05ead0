#pragma once

#include <cstdint>

#include "device/Setdx.h"

// The faces, colours and the one drawing call the screens use for their text. Colours are
// 0x00BBGGRR; rectangles are pixels of the logical screen (the display mode of device/Setdx.h,
// 640 x 480), text centred across at the top.

inline constexpr int kScreenRight = static_cast<int>(kScreenWidth);
inline constexpr int kScreenBottom = static_cast<int>(kScreenHeight);
inline constexpr int kScreenMiddleX = kScreenRight / 2;

inline constexpr uint32_t kColourWhite = 0xFFFFFF;
inline constexpr uint32_t kColourYellow = 0x00FFFF; // the selected item, the side to move
inline constexpr uint32_t kColourGrey = 0x808080;   // items not selected
inline constexpr uint32_t kColourRed = 0x0000FF;    // "Extreme"
inline constexpr uint32_t kColourViolet = 0xFF0080; // "Extreme+"
inline constexpr uint32_t kColourAzure = 0xFFC000;  // "Master"
inline constexpr uint32_t kColourGreen = 0x40FF40;  // the analysis: the best moves' values

inline constexpr const char* kFaceTimes = "Times New Roman";
inline constexpr const char* kFaceGothic = "ＭＳ Ｐゴシック"; // holds the pass hint's characters

// One outlined line of text in the rectangle (left, top, right, bottom).
void DrawTextItem(int left, int top, int right, int bottom, const char* text, uint32_t colour,
                  const char* face, int height);
