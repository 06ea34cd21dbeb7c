#pragma once
// The program from start to end: start-up, logo, the title loop, shutdown.

#include "persist/database.hpp"

// Hides the pointer in full screen and runs the title menu one frame per flip
// until it asks to quit; a failed save of the settings ends it early.
DbResult runOuterLoop();

// The whole program; returns the process exit status.
int runProgram();
