#pragma once

// Runs the screen family of g_scene for one frame: the title family or the game scene.
// Called by the frame loop after the input poll and before the flip.
void RunScreens();
