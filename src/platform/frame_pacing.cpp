#include "platform/frame_pacing.hpp"

namespace pf {
namespace {

constexpr int64_t kFrameUs = 1000000 / 60;
// A frame this much behind its moment leaves the next one undrawn: drawing
// runs on without waiting while the lag is smaller, so a renderer a little
// slower than 60 Hz still shows every frame it can.
constexpr int64_t kSkipLagUs = kFrameUs;
// Further behind than this the frame followed a blocking step (a load, a
// network request): the game carries on from now rather than rushing
// through the frames it missed.
constexpr int64_t kBlockedLagUs = 250 * 1000;

}  // namespace

void FramePacing::restart(int64_t nowUs) {
  deadline_ = nowUs;
  carry_ = 0;
  skippedInRow_ = 0;
}

int64_t FramePacing::due() {
  deadline_ += nextFrameMs(carry_) * 1000;
  return deadline_;
}

bool FramePacing::ended(int64_t nowUs, bool keepTime) {
  const int64_t lag = nowUs - deadline_;
  if (lag <= 0) {
    skippedInRow_ = 0;
    return true;
  }
  if (!keepTime || lag > kBlockedLagUs) {
    deadline_ = nowUs;
    skippedInRow_ = 0;
    return true;
  }
  if (lag <= kSkipLagUs) {
    skippedInRow_ = 0;
    return true;
  }
  if (skippedInRow_ < kMostSkipped) {
    ++skippedInRow_;
    return false;
  }
  // The floor of shown frames: this one is drawn although behind, and the
  // game slows down instead of falling further behind.
  deadline_ = nowUs;
  skippedInRow_ = 0;
  return true;
}

void FramePacing::resync(int64_t nowUs) {
  const int64_t lag = nowUs - deadline_;
  if (lag > -kFrameUs / 2 && lag < kFrameUs / 2) deadline_ = nowUs;
}

}  // namespace pf
