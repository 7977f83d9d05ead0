#pragma once

// The text over the game: the disc counts, the side to move, the pass hint and banner, the
// result. Read from g_shownBoard, so it changes only when a move's animation is over.
void DrawGameOverlay();
