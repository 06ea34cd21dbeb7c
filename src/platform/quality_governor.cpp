#include "platform/quality_governor.hpp"

#include <algorithm>

namespace pf {
namespace {

// A raise is tried only when the higher level is predicted to take at most
// this share of the budget: the margin keeps a level that only just fits
// from being chosen over and over.
constexpr double kRaiseShare = 0.85;
// What a step up costs before it has been measured.
constexpr double kUnknownStepCost = 1.3;
// Frames at a level before a raise is tried: one second, doubled after each
// raise that failed at once, back to one second after one that held.
constexpr int kFirstRaiseHold = 60;
constexpr int kLongestRaiseHold = 16 * 60;
// A raise that holds this many frames counts as a success.
constexpr int kRaiseHeld = 5 * 60;

}  // namespace

QualityGovernor::QualityGovernor(int levels)
    : levels_(std::clamp(levels, 1, kMostLevels)), raiseHold_(kFirstRaiseHold) {
  stepCost_.fill(kUnknownStepCost);
}

void QualityGovernor::change(int level) {
  const bool raising = level < level_;
  if (!raising && raisedLast_ && framesAtLevel_ < kRaiseHeld) {
    // Lowered again soon after being raised: wait longer before the next try.
    raiseHold_ = std::min(raiseHold_ * 2, kLongestRaiseHold);
  }
  raisedLast_ = raising;
  level_ = level;
  filled_ = 0;
  next_ = 0;
  framesAtLevel_ = 0;
}

int QualityGovernor::frameDrawn(double busyMs) {
  if (pinned_ || levels_ == 1) return level_;
  if (++framesAtLevel_ == kRaiseHeld && raisedLast_) raiseHold_ = kFirstRaiseHold;
  window_[static_cast<size_t>(next_)] = busyMs;
  next_ = (next_ + 1) % kWindow;
  filled_ = std::min(filled_ + 1, kWindow);
  if (filled_ < kWindow) return level_;
  std::array<double, kWindow> sorted = window_;
  std::nth_element(sorted.begin(), sorted.begin() + kWindow / 2, sorted.end());
  const double median = sorted[kWindow / 2];
  if (lowered_) {
    stepCost_[static_cast<size_t>(level_)] = std::max(1.0, costBeforeLowering_ / median);
    lowered_ = false;
  }
  if (median > kBudgetMs && level_ + 1 < levels_) {
    costBeforeLowering_ = median;
    lowered_ = true;
    change(level_ + 1);
    return level_;
  }
  if (level_ > 0 && framesAtLevel_ >= raiseHold_ &&
      median * stepCost_[static_cast<size_t>(level_)] <= kBudgetMs * kRaiseShare) {
    change(level_ - 1);
  }
  return level_;
}

}  // namespace pf
