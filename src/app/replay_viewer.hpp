#pragma once
// `ovelune --replay FILE [--speed N]`: the recorded run watched in the replay
// theatre until Escape is pressed or the window is closed.
#include <string>

#include "persist/replay_file.hpp"

// Reads the file; false, with one line on standard output saying why, when it
// is damaged, too large, or was recorded by another format or gameplay
// version. A replay from another numeric environment is read, with a note.
bool loadWatchableReplay(const std::string& path, Replay* replay);
// Starts the program (settings, window, assets), runs the theatre from the
// speed of kTheatreSpeeds[speedIndex] and shuts down. Returns the process
// exit status.
int watchReplay(const Replay& replay, int speedIndex);
