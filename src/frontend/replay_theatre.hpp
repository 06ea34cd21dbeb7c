#pragma once
// Watching a recorded run: pause and resume, a frame at a time while paused,
// speeds from a quarter to eight times, ten seconds back or on, and the
// start again. A small overlay in the right-hand panel shows the time, the
// speed and the keys, and fades while nothing is pressed. Fast speeds play
// every frame and draw only what can be shown; sound plays at the normal
// speed only.
#include <string>

#include "persist/replay_file.hpp"

// The speeds the theatre offers, slowest first, and where 1x is among them.
constexpr double kTheatreSpeeds[] = {0.25, 0.5, 1, 2, 4, 8};
constexpr int kTheatreNormal = 2;

// The index into kTheatreSpeeds of a speed given as text ("8", "0.5",
// "1/4"); -1 for anything else.
int theatreSpeedIndex(const std::string& text);

// Runs the theatre in its own frame loop until Escape or a request to close
// the window. The run's result check ("it played the same: ...") is printed
// on standard output once the run is over. False when the replay's ship
// does not exist.
bool watchInTheatre(const Replay& replay, int speedIndex);
