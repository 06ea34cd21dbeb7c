#pragma once
// Every program-wide value back to where a fresh start of the program has it,
// so that tests and simulated runs never inherit state from an earlier one.
#include <cstdint>

// The settings row and program state to their defaults, both generators seeded
// with `seed`, and the state kept beside the loaded assets: the rock walls'
// sway phases and a fresh, silent channel for every sound.
void resetProgramState(uint64_t seed);
