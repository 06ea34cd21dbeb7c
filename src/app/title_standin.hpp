#pragma once
// A placeholder title screen that holds the outer loop's place until the
// title menu exists: the backdrop and the game's name. The menu's Update
// replaces titleStandInUpdate in runOuterLoop (outer_loop.cpp).

// Draws one frame; non-zero when the program is to end (Escape or a request
// to close the window).
int titleStandInUpdate();
