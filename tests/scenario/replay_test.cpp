// Runs played again from their recording, and pauses that leave a run as it
// would have been without them.
#include <gtest/gtest.h>

#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game_frame.hpp"
#include "game/replay_player.hpp"
#include "game/run_recording.hpp"
#include "platform/input_state.hpp"
#include "platform/input_tape.hpp"
#include "platform/keycodes.hpp"
#include "scenario_support.hpp"

namespace {

struct Snapshot {
  int64_t score;
  int killcount, gametimer;
  int firesAtPause;
  float x, y;
  int nextRandom;  // where the run's generator has got to
};

// Two runs that stand at one place and will go on the same way.
void expectSameRun(const Snapshot& got, const Snapshot& want) {
  EXPECT_EQ(got.score, want.score);
  EXPECT_EQ(got.killcount, want.killcount);
  EXPECT_EQ(got.gametimer, want.gametimer);
  EXPECT_EQ(got.x, want.x);
  EXPECT_EQ(got.y, want.y);
  EXPECT_EQ(got.nextRandom, want.nextRandom);
}

Snapshot snapshot(const game& g) {
  return Snapshot{g.score, g.killcount, g.gametimer,     static_cast<int>(g.firelist.size()),
                  g.p1->x, g.p1->y,     Rand(0, 1 << 30)};
}

// Ship four fires and drifts left, and sets the sea on fire as soon as its
// bar allows, for `updates` updates; the run is paused after update `pauseAt`
// for `pausedFrames` drawn frames.
Snapshot flamesRun(int updates, int pauseAt, int pausedFrames) {
  std::unique_ptr<game> g = newRun(4, 21);
  pf::inputState().keyPressed(settings.fire1key);
  pf::inputState().keyPressed(settings.fire3key);
  pf::inputState().keyPressed(settings.leftkey);
  int firesAtPause = 0;
  for (int i = 1; i <= updates; ++i) {
    playFrame(*g);
    if (i == pauseAt) {
      firesAtPause = static_cast<int>(g->firelist.size());
      program.paused = 1;
      for (int k = 0; k < pausedFrames; ++k) playFrame(*g);
      program.paused = 0;
    }
  }
  pf::inputState().flushKeys();
  Snapshot s = snapshot(*g);
  s.firesAtPause = firesAtPause;
  return s;
}

// A recorded run of ship two: fire held, a weave, a pause.
Replay recordRun() {
  newRun(2, 5);
  std::unique_ptr<game> g = startRecordedRun(2, 99);
  pf::InputState& in = pf::inputState();
  in.keyPressed(settings.fire1key);
  for (int i = 1; i <= 700; ++i) {
    if (i == 150) in.keyPressed(settings.rightkey);
    if (i == 400) in.keyReleased(settings.rightkey);
    if (i == 300 || i == 360) in.keyPressed(pf::vk::kEscape);
    playFrame(*g);
    if (i == 300 || i == 360) in.keyReleased(pf::vk::kEscape);
  }
  in.flushKeys();
  return finishRecordedRun(*g, 99);
}

}  // namespace

TEST(Replay, PausingWhileFlamesBurnDoesNotChangeTheRun) {
  const Snapshot straight = flamesRun(500, 0, 0);
  const Snapshot paused = flamesRun(500, 250, 77);
  ASSERT_GT(paused.firesAtPause, 0) << "the flames must burn during the pause";
  expectSameRun(paused, straight);
}

TEST(Replay, APlayedBackRunEndsAsRecordedWhateverTheLiveInput) {
  const Replay recorded = recordRun();
  ASSERT_EQ(pf::frameCount(recorded.input), 700u);
  ASSERT_EQ(recorded.result.frames, 700u);
  ASSERT_GT(recorded.result.score, 0);
  EXPECT_FALSE(pf::inputTape().recording());

  // Other keys and seeds in force now: the replay brings its own.
  newRun(1, 1234);
  settings.fire1key = 65;
  std::unique_ptr<game> g = startReplay(recorded);
  pf::inputState().keyPressed(settings.leftkey);  // live input is not read
  uint32_t frames = 0;
  while (!pf::inputTape().exhausted()) {
    playFrame(*g);
    ++frames;
  }
  EXPECT_EQ(pf::inputTape().divergence(), "");
  endReplay();
  EXPECT_EQ(settings.fire1key, 65) << "the player's settings come back";
  EXPECT_EQ(resultDifferences(recorded.result, runResult(*g, frames)), "");
  EXPECT_GT(g->gametimer, 0);
  EXPECT_LT(g->gametimer, 700) << "the pause was played back";
}

TEST(Replay, ATapeThatDoesNotFitTheRunSaysWhere) {
  Replay recorded = recordRun();
  // Frame 10's first read asks about another key.
  pf::InputRuns changed;
  uint64_t frame = 0;
  for (const pf::InputRun& run : recorded.input) {
    for (uint32_t k = 0; k < run.repeat; ++k) {
      pf::InputFrame reads = run.frame;
      if (++frame == 10) reads[0].code = 1;
      pf::appendFrame(changed, reads);
    }
  }
  recorded.input = changed;
  newRun(1, 1);
  std::unique_ptr<game> g = startReplay(recorded);
  for (int i = 0; i < 20; ++i) playFrame(*g);
  EXPECT_EQ(
      pf::inputTape().divergence().rfind("frame 10: the run read keyHit(27) where the recording read keyHit(1)", 0), 0u)
      << pf::inputTape().divergence();
  endReplay();

  ReplayResult other = recorded.result;
  other.score += 5;
  other.end = RunEnd::gameover;
  EXPECT_EQ(resultDifferences(recorded.result, other), "score " + std::to_string(recorded.result.score) + " -> " +
                                                           std::to_string(other.score) +
                                                           ", end unfinished -> gameover");
}

// Seeking plays the recording again from its start without drawing: the run
// lands exactly where a straight, drawn run to that frame stands, whichever
// way it came.
TEST(ReplayPlayer, SeekingForwardAndBackLandsWhereAStraightRunStands) {
  const Replay recorded = recordRun();
  newRun(1, 1);
  auto& display = *static_cast<pf::HeadlessBackend*>(pf::displayBackend());
  const auto straightTo = [&](uint64_t frame) {
    ReplayPlayer player(recorded);
    display.setRecording(true);  // every frame really drawn
    while (player.frame() < frame) {
      player.step(true);
      display.clearCalls();
    }
    display.setRecording(false);
    return snapshot(player.session());
  };
  const Snapshot at500 = straightTo(500);
  const Snapshot at650 = straightTo(650);

  ReplayPlayer player(recorded);
  player.seek(650);
  const Snapshot forward = snapshot(player.session());
  player.seek(500);
  const Snapshot back = snapshot(player.session());
  expectSameRun(forward, at650);
  expectSameRun(back, at500);
  player.seek(recorded.result.frames);
  EXPECT_TRUE(player.over());
  EXPECT_EQ(player.outcome().rfind("it played the same", 0), 0u) << player.outcome();
}
