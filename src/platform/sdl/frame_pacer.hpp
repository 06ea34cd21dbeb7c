#pragma once
// The display's side of 60 Hz pacing: waiting for a frame's moment when the
// timer paces (in a window, and when the display cannot show exactly 60
// frames a second; the moments are FramePacing's), and the probe that
// decides, right after a full-screen open, whether vertical sync alone paces
// the game.
#include <chrono>

namespace pf {

using PaceClock = std::chrono::steady_clock;

// Sleeps until about 1 ms before the moment and spins the rest, since sleeps
// overshoot by more than a frame can spare.
void waitUntil(PaceClock::time_point moment);

// Fed with the duration of each vsynced swap for up to one second. Three
// consecutive swaps of 1000/60 ms (within 1 ms) keep vsync. Swaps of 1000/120
// or 1000/240 ms ask for a swap interval of 2 or 4 first, since a
// high-refresh display then shows every frame the same number of times.
class RefreshProbe {
 public:
  enum class Verdict { Measuring, KeepVsync, UseTimer };

  Verdict addSwap(double ms);
  // The swap interval the next swaps should use.
  int interval() const { return interval_; }

 private:
  int interval_ = 1;
  int streak_ = 0;
  int candidate_ = 0;  // interval the current streak points at
  double elapsedMs_ = 0;
};

}  // namespace pf
