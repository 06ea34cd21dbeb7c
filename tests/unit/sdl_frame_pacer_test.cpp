#include <gtest/gtest.h>

#include "platform/sdl/frame_pacer.hpp"

namespace {

using pf::FrameTimer;
using pf::PaceClock;
using pf::RefreshProbe;
using std::chrono::milliseconds;

TEST(FrameTimer, SixtyPunctualFramesTakeExactlyOneSecond) {
  const PaceClock::time_point start{};
  FrameTimer timer;
  timer.restart(start);
  PaceClock::time_point shown = start;
  int longFrames = 0;
  for (int i = 0; i < 60; ++i) {
    const PaceClock::time_point next = timer.next(shown);
    const auto step = std::chrono::duration_cast<milliseconds>(next - shown).count();
    ASSERT_TRUE(step == 16 || step == 17) << "frame " << i;
    longFrames += step == 17 ? 1 : 0;
    shown = next;
  }
  EXPECT_EQ(longFrames, 40);
  EXPECT_EQ(shown - start, milliseconds(1000));
}

TEST(FrameTimer, LateFrameRestartsTheDeadlineAtNow) {
  const PaceClock::time_point start{};
  FrameTimer timer;
  timer.restart(start);
  // The frame took 50 ms: no catching up, it is shown at once...
  const PaceClock::time_point late = start + milliseconds(50);
  EXPECT_EQ(timer.next(late), late);
  // ...and the next one a frame after it, not two frames early.
  const auto next = timer.next(late + milliseconds(1)) - late;
  EXPECT_TRUE(next == milliseconds(16) || next == milliseconds(17));
}

TEST(RefreshProbe, SixtyHertzKeepsVsyncAfterThreeConsecutiveSwaps) {
  RefreshProbe probe;
  EXPECT_EQ(probe.addSwap(40.0), RefreshProbe::Verdict::Measuring);  // window mapping
  EXPECT_EQ(probe.addSwap(16.5), RefreshProbe::Verdict::Measuring);
  EXPECT_EQ(probe.addSwap(17.2), RefreshProbe::Verdict::Measuring);
  EXPECT_EQ(probe.addSwap(30.0), RefreshProbe::Verdict::Measuring);  // breaks the streak
  EXPECT_EQ(probe.addSwap(16.7), RefreshProbe::Verdict::Measuring);
  EXPECT_EQ(probe.addSwap(16.0), RefreshProbe::Verdict::Measuring);
  EXPECT_EQ(probe.addSwap(17.6), RefreshProbe::Verdict::KeepVsync);
  EXPECT_EQ(probe.interval(), 1);
}

TEST(RefreshProbe, HighRefreshDisplaySwapsEveryNthRefresh) {
  RefreshProbe probe;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(probe.addSwap(1000.0 / 120.0), RefreshProbe::Verdict::Measuring);
  ASSERT_EQ(probe.interval(), 2);
  EXPECT_EQ(probe.addSwap(16.6), RefreshProbe::Verdict::Measuring);
  EXPECT_EQ(probe.addSwap(16.7), RefreshProbe::Verdict::Measuring);
  EXPECT_EQ(probe.addSwap(16.7), RefreshProbe::Verdict::KeepVsync);

  RefreshProbe at240;
  for (int i = 0; i < 3; ++i) at240.addSwap(1000.0 / 240.0);
  EXPECT_EQ(at240.interval(), 4);
}

TEST(RefreshProbe, OtherRatesFallBackToTheTimerAfterOneSecond) {
  // 144 Hz cannot show every frame equally often; 75 Hz is simply wrong.
  for (const double ms : {1000.0 / 144.0, 1000.0 / 75.0, 0.05}) {
    RefreshProbe probe;
    RefreshProbe::Verdict v = RefreshProbe::Verdict::Measuring;
    double elapsed = 0;
    while (v == RefreshProbe::Verdict::Measuring && elapsed < 2000) {
      v = probe.addSwap(ms);
      elapsed += ms;
    }
    EXPECT_EQ(v, RefreshProbe::Verdict::UseTimer) << ms;
    EXPECT_NEAR(elapsed, 1000.0, ms + 1e-6) << ms;
  }
}

}  // namespace
