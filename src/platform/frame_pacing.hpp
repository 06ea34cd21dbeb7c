#pragma once
// Game time against wall time. Frame n of a paced loop is due 16 ms plus a
// carried 40/60 ms after frame n - 1, so that 60 frames take exactly one
// second. A loop that keeps time (a run, the menu) catches up when drawing
// falls more than a frame behind by leaving frames undrawn, at most
// kMostSkipped in a row so that some frames are always shown; when even
// that is not enough, and in any other loop, a late frame restarts the
// schedule: the game slows down instead. Times are microseconds of any
// steady clock (the real one or the headless backend's).
#include <cstdint>

namespace pf {

// The 60 Hz timer rule: a frame lasts 16 ms plus a carried 40/60 ms (carry
// in sixtieths of a millisecond), so that 60 frames take exactly one second.
inline int nextFrameMs(int& carry) {
  carry += 40;
  const int ms = 16 + carry / 60;
  carry %= 60;
  return ms;
}

class FramePacing {
 public:
  // Undrawn frames in a row at most: a third of the frames, 20 a second,
  // are shown however slow drawing is.
  static constexpr int kMostSkipped = 2;

  void restart(int64_t nowUs);
  // Advances the schedule to the frame being ended and returns the moment
  // it is due: it is shown (or, undrawn, the next one begins) no earlier.
  int64_t due();
  // The frame was shown, or finished undrawn, at `nowUs`. Returns whether
  // the next frame is drawn.
  bool ended(int64_t nowUs, bool keepTime);
  // A swap synchronised to the display just returned: the display's refresh
  // is the schedule, unless the frame missed it.
  void resync(int64_t nowUs);
  // How far the frame ending at `nowUs` is behind its moment (negative:
  // ahead).
  int64_t lagUs(int64_t nowUs) const { return nowUs - deadline_; }

 private:
  int64_t deadline_ = 0;
  int carry_ = 0;  // sixtieths of a millisecond
  int skippedInRow_ = 0;
};

}  // namespace pf
