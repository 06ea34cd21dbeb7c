// A frame with nothing to draw to runs only the parts of drawing that change
// the game. Played undrawn, a stretch must leave every frame as a drawn one
// does, and the frames drawn after it must show exactly the same calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "enemies/boss.hpp"
#include "enemies/jellyfish.hpp"
#include "enemies/shrimp2.hpp"
#include "essentials/settings.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "scenario_support.hpp"

namespace {

uint64_t drawnCalls(const std::vector<pf::DrawCall>& calls) {
  Hash h;
  for (const pf::DrawCall& c : calls) {
    h.add(static_cast<double>(c.kind));
    for (int i = 0; i < 4; ++i) {
      h.add(c.x[i]);
      h.add(c.y[i]);
    }
    h.add(c.r * 65536.0 + c.g * 256.0 + c.b);
    h.add(c.alpha);
    h.add(c.lineWidth);
  }
  return h.value();
}

struct Stretch {
  int ship;
  int fromFrame;  // the level clock at the start
  int frames;
  int specialFrom;   // frames into the stretch from which the special is held
  bool fire = true;  // attack one held throughout
};

struct Seen {
  bool jellyfish = false, streakingShrimp = false, crab = false, fire = false;
};

struct Played {
  std::vector<uint64_t> states;     // after every frame
  std::vector<uint64_t> lastDrawn;  // calls of the frames drawn at the end
  Seen seen;
};

// Few, so that a look an undrawn frame failed to turn cannot settle again.
constexpr int kDrawnAtEnd = 2;

Played play(const Stretch& s, bool drawEveryFrame) {
  auto g = newRun(s.ship, 11);
  g->gametimer = s.fromFrame;
  g->invulnerable = true;
  auto& display = static_cast<pf::HeadlessBackend&>(*pf::displayBackend());
  if (s.fire) pf::inputState().keyPressed(settings.fire1key);
  Played out;
  for (int frame = 0; frame < s.frames; ++frame) {
    const bool drawn = drawEveryFrame || frame >= s.frames - kDrawnAtEnd;
    display.setRecording(drawn);
    if (frame == s.specialFrom) pf::inputState().keyPressed(settings.fire3key);
    runFrames(*g, 1);
    out.states.push_back(playState(*g));
    if (frame >= s.frames - kDrawnAtEnd) out.lastDrawn.push_back(drawnCalls(display.calls()));
    display.clearCalls();
    // What is still there in the last frame shows in the drawn ones.
    out.seen = Seen{};
    g->enemylist.forEach([&](enemybase& e) {
      out.seen.jellyfish |= dynamic_cast<jellyfish*>(&e) != nullptr;
      out.seen.streakingShrimp |= dynamic_cast<shrimp2*>(&e) != nullptr;
      out.seen.crab |= dynamic_cast<boss*>(&e) != nullptr;
    });
    out.seen.fire = !g->firelist.empty();
  }
  display.setRecording(false);
  pf::inputState().keyReleased(settings.fire1key);
  pf::inputState().keyReleased(settings.fire3key);
  return out;
}

void expectSamePlay(const Stretch& s) {
  const Played drawn = play(s, true);
  const Played undrawn = play(s, false);
  ASSERT_EQ(drawn.states.size(), undrawn.states.size());
  for (size_t i = 0; i < drawn.states.size(); ++i) ASSERT_EQ(drawn.states[i], undrawn.states[i]) << "frame " << i;
  EXPECT_EQ(drawn.lastDrawn, undrawn.lastDrawn);
}

}  // namespace

TEST(UndrawnFrames, JellyfishPlayAndDrawAsDrawnFrames) {
  // Unarmed, so that the jellyfish are still there in the drawn frames.
  const Stretch s{2, 6790, 300, -1, false};
  expectSamePlay(s);
  EXPECT_TRUE(play(s, false).seen.jellyfish);
}

TEST(UndrawnFrames, TheFireBombPlaysAndDrawsAsDrawnFrames) {
  const Stretch s{4, 200, 320, 200};
  expectSamePlay(s);
  EXPECT_TRUE(play(s, false).seen.fire);
}

TEST(UndrawnFrames, StreakingShrimpPlayAndDrawAsDrawnFrames) {
  const Stretch s{1, 8990, 500, -1};
  expectSamePlay(s);
  EXPECT_TRUE(play(s, false).seen.streakingShrimp);
}

TEST(UndrawnFrames, TheCrabPlaysAndDrawsAsDrawnFrames) {
  const Stretch s{2, 11090, 300, -1};
  expectSamePlay(s);
  EXPECT_TRUE(play(s, false).seen.crab);
}
