#pragma once
// One whole frame of a run, as the front end, the tests and the simulator all
// play it.
class game;

// The session's update unless the game is paused, the frame's drawing (which
// also reads the pause keys) and the end of the frame on the input tape,
// without presenting it. Returns the update's result: 1 when the run is
// over, 0 otherwise and on a paused frame.
int stepFrame(game& g);
// stepFrame, then the flip that presents the frame and keeps the run's time
// with the clock (the next frame may be left undrawn to catch up).
int playFrame(game& g);
