#pragma once
// Chooses the render quality from what drawn frames cost. Full quality is
// kept while a drawn frame's work (update, drawing, rasterising, present)
// fits the frame budget; when it does not, the quality is lowered one level
// at a time, and raised again once the cost at the lower level, scaled by
// what the step down saved, says the higher level fits again. A raise that
// fails at once waits twice as long before the next try, so a scene on the
// edge does not flicker between levels.
#include <array>
#include <cstdint>

namespace pf {

class QualityGovernor {
 public:
  static constexpr int kMostLevels = 8;

  // levels: 1 (only full quality) to kMostLevels.
  explicit QualityGovernor(int levels = 1);
  // Stays at full quality (OVELUNE_QUALITY=exact).
  void pinFullQuality(bool pinned) {
    pinned_ = pinned;
    if (pinned) change(0);
  }
  // A frame was drawn at the current level and its work took `busyMs`.
  // Returns the level for the frames that follow.
  int frameDrawn(double busyMs);
  int level() const { return level_; }

  // Drawn work a 60 Hz frame may take: the rest of it absorbs the jitter.
  static constexpr double kBudgetMs = 15.0;

 private:
  void change(int level);

  int levels_;
  int level_ = 0;
  bool pinned_ = false;
  // The last drawn frames' costs at the current level.
  static constexpr int kWindow = 12;
  std::array<double, kWindow> window_{};
  int filled_ = 0;
  int next_ = 0;
  // Per level, how much dearer the level above it was when last measured.
  std::array<double, kMostLevels> stepCost_{};
  double costBeforeLowering_ = 0;  // the window's median just before it
  bool lowered_ = false;           // the first window since lowering is pending
  int framesAtLevel_ = 0;
  int raiseHold_ = 0;  // frames at a level before a raise is tried
  bool raisedLast_ = false;
};

}  // namespace pf
