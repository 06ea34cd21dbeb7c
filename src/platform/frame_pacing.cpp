#include "platform/frame_pacing.hpp"

namespace pf {
namespace {

constexpr int64_t kFrameUs = 1000000 / 60;
// A frame this much behind its moment leaves the next one undrawn: drawing
// runs on without waiting while the lag is smaller, so a renderer a little
// slower than 60 Hz still shows every frame it can.
constexpr int64_t kSkipLagUs = kFrameUs;
// Further behind than this, the debt is forgiven: after a blocking step (a
// load, a network request) or when even the shown frames cannot keep up,
// the game carries on from now rather than rushing through the frames it
// missed.
constexpr int64_t kSlipLagUs = 4 * kFrameUs;

}  // namespace

void FramePacing::restart(int64_t nowUs) {
  deadline_ = nowUs;
  carry_ = 0;
  skippedInRow_ = 0;
}

int64_t FramePacing::due() {
  carry_ += 40;
  deadline_ += (16 + carry_ / 60) * 1000;
  carry_ %= 60;
  return deadline_;
}

bool FramePacing::ended(int64_t nowUs, bool keepTime) {
  const int64_t lag = nowUs - deadline_;
  if (lag <= 0) {
    skippedInRow_ = 0;
    return true;
  }
  if (!keepTime || lag > kSlipLagUs) {
    deadline_ = nowUs;
    skippedInRow_ = 0;
    return true;
  }
  if (lag > kSkipLagUs && skippedInRow_ < kMostSkipped) {
    ++skippedInRow_;
    return false;
  }
  skippedInRow_ = 0;
  return true;
}

void FramePacing::resync(int64_t nowUs) {
  const int64_t lag = nowUs - deadline_;
  if (lag > -kFrameUs / 2 && lag < kFrameUs / 2) deadline_ = nowUs;
}

}  // namespace pf
