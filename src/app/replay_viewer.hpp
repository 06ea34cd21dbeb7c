#pragma once
// `ovelune --replay FILE`: the recorded run played back in the window at the
// normal speed, with sound, until it ends or Escape is pressed.
#include <string>

#include "persist/replay_file.hpp"

// Reads the file; false, with one line on standard output saying why, when it
// is damaged or was recorded by another format version or build.
bool loadWatchableReplay(const std::string& path, Replay* replay);
// Starts the program (settings, window, assets), plays the run and shuts
// down. Returns the process exit status.
int watchReplay(const Replay& replay);
