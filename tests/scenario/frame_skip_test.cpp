// Under a renderer too slow for 60 frames a second, the frames that cannot
// be shown are left undrawn: the run must play exactly as an unskipped one,
// and a drawn frame must darken the picture as much as all the frames since
// the last drawn one would have (the trails keep their length).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "essentials/settings.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "scenario_support.hpp"

namespace {

constexpr int kFrames = 720;
constexpr int kSpecialFrom = 400;  // ship five's special: the fade's alpha falls, then recovers

struct Played {
  uint64_t state = 0;
  std::vector<float> fadeAlpha;  // per frame; -1 when the frame was not drawn
};

// Ship five at full energy, firing, with its special held for a while.
Played play(int drawCostMs) {
  auto g = newRun(5, 3);
  g->invulnerable = true;
  auto& display = static_cast<pf::HeadlessBackend&>(*pf::displayBackend());
  display.setRecording(true);
  display.simulateDrawingCost(drawCostMs);
  pf::inputState().keyPressed(settings.fire1key);
  Played out;
  for (int frame = 0; frame < kFrames; ++frame) {
    if (frame == kSpecialFrom) {
      g->bombs = 100;
      pf::inputState().keyPressed(settings.fire3key);
    }
    if (frame == kSpecialFrom + 120) pf::inputState().keyReleased(settings.fire3key);
    runFrames(*g, 1);
    const std::vector<pf::DrawCall>& calls = display.calls();
    // A drawn frame begins with the translucent clear of the whole screen.
    if (calls.empty()) {
      out.fadeAlpha.push_back(-1);
    } else {
      const pf::DrawCall& fade = calls.front();
      EXPECT_EQ(fade.kind, pf::DrawCall::Kind::Rect) << "frame " << frame;
      EXPECT_EQ(fade.r + fade.g + fade.b, 0) << "frame " << frame;
      out.fadeAlpha.push_back(fade.alpha);
    }
    display.clearCalls();
  }
  out.state = playState(*g);
  display.setRecording(false);
  display.simulateDrawingCost(0);
  pf::inputState().keyReleased(settings.fire1key);
  return out;
}

}  // namespace

TEST(FrameSkip, SkippedFramesPlayAsDrawnOnesAndKeepTheTrailsFade) {
  const Played every = play(0);
  ASSERT_EQ(std::count(every.fadeAlpha.begin(), every.fadeAlpha.end(), -1.0f), 0);
  // 30 ms a drawn frame: about every other frame is shown. 70 ms: only the
  // floor of one frame in three is, and the game slows (not the run).
  for (const int cost : {30, 70}) {
    const Played skipped = play(cost);
    EXPECT_EQ(skipped.state, every.state) << cost << " ms";
    int shown = 0, inRow = 0, mostInRow = 0;
    float keeps = 1;  // what the frames' fades since the last drawn one leave
    bool lowAlphaSkipped = false;
    for (int i = 0; i < kFrames; ++i) {
      const float alpha = every.fadeAlpha[static_cast<size_t>(i)];
      keeps *= 1 - alpha;
      if (skipped.fadeAlpha[static_cast<size_t>(i)] < 0) {
        mostInRow = std::max(mostInRow, ++inRow);
        lowAlphaSkipped |= alpha < 0.5f;
        continue;
      }
      // The alphas are bytes: one step each of rounding.
      EXPECT_NEAR(skipped.fadeAlpha[static_cast<size_t>(i)], 1 - keeps, (inRow + 1) / 255.0f)
          << cost << " ms, frame " << i << " after " << inRow << " skipped";
      ++shown;
      inRow = 0;
      keeps = 1;
    }
    EXPECT_GE(shown, kFrames / 3) << cost << " ms";
    EXPECT_LT(shown, kFrames * 3 / 4) << cost << " ms";
    EXPECT_LE(mostInRow, 2) << cost << " ms";
    EXPECT_TRUE(lowAlphaSkipped) << cost << " ms: the special's long trails were never skipped";
  }
}
