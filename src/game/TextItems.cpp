#include "game/TextItems.h"

#include "game/ScreenText.h"

void DrawTextItem(int left, int top, int right, int bottom, const char* text, uint32_t colour,
                  const char* face, int height) {
    DrawScreenText(RECT{left, top, right, bottom}, text, colour, face, height);
}
