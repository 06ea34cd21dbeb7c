#include <gtest/gtest.h>

#include "platform/sdl/frame_pacer.hpp"

namespace {

using pf::RefreshProbe;

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
