#include "platform/sdl/frame_pacer.hpp"

#include <cmath>
#include <thread>

namespace pf {
namespace {

constexpr double kFrameMs = 1000.0 / 60.0;
constexpr double kToleranceMs = 1.0;
constexpr int kStreakNeeded = 3;
constexpr double kProbeBudgetMs = 1000.0;
constexpr int kMaxInterval = 4;

}  // namespace

void waitUntil(PaceClock::time_point moment) {
  const auto early = moment - std::chrono::milliseconds(1);
  if (PaceClock::now() < early) std::this_thread::sleep_until(early);
  while (PaceClock::now() < moment) {
  }
}

RefreshProbe::Verdict RefreshProbe::addSwap(double ms) {
  elapsedMs_ += ms;
  // How many of these swaps make one 60 Hz frame, if any whole number does.
  const long perFrame = ms > 0 ? std::lround(kFrameMs / ms) : 0;
  const bool whole = perFrame >= 1 && perFrame <= kMaxInterval &&
                     std::fabs(ms * static_cast<double>(perFrame) - kFrameMs) <= kToleranceMs;
  const int wanted = whole ? interval_ * static_cast<int>(perFrame) : 0;
  if (wanted != 0 && wanted == candidate_) {
    ++streak_;
  } else {
    candidate_ = wanted;
    streak_ = wanted != 0 ? 1 : 0;
  }
  if (streak_ >= kStreakNeeded) {
    if (candidate_ == interval_) return Verdict::KeepVsync;
    if (candidate_ <= kMaxInterval) {
      interval_ = candidate_;
      candidate_ = 0;
      streak_ = 0;
    }
  }
  return elapsedMs_ >= kProbeBudgetMs ? Verdict::UseTimer : Verdict::Measuring;
}

}  // namespace pf
