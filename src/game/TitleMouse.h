#pragma once

// The mouse on the title screens, as the keys that do the same there: hovering a menu, level or
// configuration line selects it (with the sound of the step), a left click on a line chooses it
// as Space does (on the prompt anywhere; on a colour line as Left on its left half and Right on
// its right half), a right click is Enter and each wheel step is an Up or a Down. The line
// bands follow the panels' layout, across the whole screen.
//
// Runs before the title screens read their actions: selects the hovered line and triggers the
// actions of this frame's clicks and wheel steps (see game/ScreenInput.h). Key states are left
// as the poll wrote them.
void ReadTitleMouse();

// Forgets wheel steps still waiting to be taken (they are taken one a frame).
void ResetTitleMouse();
