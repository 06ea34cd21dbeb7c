#include "platform/frame_pacing.hpp"

#include <gtest/gtest.h>

#include "platform/quality_governor.hpp"

namespace {

using pf::FramePacing;
using pf::QualityGovernor;

constexpr int64_t kMs = 1000;

TEST(FramePacing, SixtyPunctualFramesTakeExactlyOneSecond) {
  FramePacing pacing;
  pacing.restart(0);
  int64_t shown = 0;
  int longFrames = 0;
  for (int i = 0; i < 60; ++i) {
    const int64_t due = pacing.due();
    ASSERT_TRUE(due - shown == 16 * kMs || due - shown == 17 * kMs) << "frame " << i;
    longFrames += due - shown == 17 * kMs ? 1 : 0;
    shown = due;
    EXPECT_TRUE(pacing.ended(due, true));
  }
  EXPECT_EQ(longFrames, 40);
  EXPECT_EQ(shown, 1000 * kMs);
}

TEST(FramePacing, ALateFrameOfAnOrdinaryLoopRestartsTheScheduleAtNow) {
  FramePacing pacing;
  pacing.restart(0);
  pacing.due();
  // The frame took 50 ms: no catching up, the next one a frame after it.
  EXPECT_TRUE(pacing.ended(50 * kMs, false));
  const int64_t next = pacing.due() - 50 * kMs;
  EXPECT_TRUE(next == 16 * kMs || next == 17 * kMs);
}

// Drawn frames that take 25 ms while undrawn ones take 1 ms, as the display
// runs them: the loop keeps 60 updates a second and shows what it can.
TEST(FramePacing, ALoopThatKeepsTimeSkipsFramesToCatchUpAndSlowsOnlyBelowTheFloor) {
  for (const int64_t drawnMs : {12, 25, 40, 100}) {
    FramePacing pacing;
    pacing.restart(0);
    int64_t now = 0;
    bool drawNext = true;
    int shown = 0, inRow = 0, mostInRow = 0;
    constexpr int kFrames = 600;
    for (int i = 0; i < kFrames; ++i) {
      const bool drawn = drawNext;
      now = std::max(now + (drawn ? drawnMs : 1) * kMs, pacing.due());
      drawNext = pacing.ended(now, true);
      shown += drawn ? 1 : 0;
      inRow = drawn ? 0 : inRow + 1;
      mostInRow = std::max(mostInRow, inRow);
    }
    const double seconds = static_cast<double>(now) / 1e6;
    EXPECT_LE(mostInRow, FramePacing::kMostSkipped) << drawnMs;
    if (drawnMs <= 40) {
      EXPECT_NEAR(seconds, 10.0, 0.1) << drawnMs << " ms: the game kept time";
      EXPECT_NEAR(shown / seconds, std::min(60.0, 1000.0 / drawnMs), 4) << drawnMs << " ms";
    } else {
      EXPECT_NEAR(shown, kFrames / 3, 2) << drawnMs << " ms: the floor of shown frames";
      EXPECT_GT(seconds, 15.0) << drawnMs << " ms: below the floor the game slows";
    }
  }
}

TEST(FramePacing, AFrameFarBehindAfterABlockingStepForgivesTheDebt) {
  FramePacing pacing;
  pacing.restart(0);
  pacing.due();
  EXPECT_TRUE(pacing.ended(2000 * kMs, true));  // a load of two seconds
  EXPECT_LE(pacing.due() - 2000 * kMs, 17 * kMs);
}

// Feeds the governor drawn frames whose cost depends on the level.
int settle(QualityGovernor& governor, const double* costByLevel, int frames) {
  for (int i = 0; i < frames; ++i) governor.frameDrawn(costByLevel[governor.level()]);
  return governor.level();
}

TEST(QualityGovernor, LowersUntilFramesFitAndRaisesWhenThereIsRoomAgain) {
  QualityGovernor governor(4);
  const double heavy[] = {30, 22, 14, 10};
  EXPECT_EQ(settle(governor, heavy, 100), 2);
  // The scene lightens: every level costs half as much.
  const double light[] = {15.5, 11, 7, 5};
  EXPECT_EQ(settle(governor, light, 600), 1) << "full quality would not fit in the budget";
  const double lighter[] = {10, 7, 5, 4};
  EXPECT_EQ(settle(governor, lighter, 600), 0);

  QualityGovernor exact(4);
  exact.pinFullQuality(true);
  EXPECT_EQ(settle(exact, heavy, 100), 0);
}

TEST(QualityGovernor, ARaiseThatFailsWaitsLongerBeforeTheNextTry) {
  QualityGovernor governor(2);
  // The lowered level is dear at first each time (say, the heavy moment
  // that forced it), then cheap: full quality then looks affordable, but
  // every raise fails.
  int raises = 0, atLevel = 0;
  for (int i = 0; i < 3600; ++i) {
    const int before = governor.level();
    governor.frameDrawn(before == 0 ? 20 : (atLevel < 12 ? 16 : 8));
    atLevel = governor.level() == before ? atLevel + 1 : 0;
    raises += governor.level() < before ? 1 : 0;
  }
  EXPECT_GE(raises, 3);
  EXPECT_LE(raises, 8) << "a minute of raises that keep failing";
}

}  // namespace
