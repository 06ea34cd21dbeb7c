#include "game/replay_player.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "game/game_frame.hpp"
#include "game/level.hpp"
#include "game/run_recording.hpp"
#include "platform/input_tape.hpp"
#include "platform/platform.hpp"

ReplayPlayer::ReplayPlayer(const Replay& replay) : replay_(replay), achievementFlags_(program.achievementFlags) {
  start();
}

ReplayPlayer::~ReplayPlayer() {
  g_.reset();
  endReplay();
  stopLevelMusic();
  program.achievementFlags = achievementFlags_;
}

void ReplayPlayer::start() {
  // What a run leaves behind outside the session: the pause, the
  // achievements it earned, the rock walls' sway, the level's music.
  program.paused = 0;
  program.achievementFlags = achievementFlags_;
  resetRockSway();
  stopLevelMusic();
  g_ = startReplay(replay_);
  frame_ = 0;
  ended_ = false;
}

void ReplayPlayer::step(bool drawn) {
  if (over()) return;
  if (drawn) {
    ended_ = stepFrame(*g_) == 1;
  } else {
    const pf::UndrawnFrames undrawn;
    ended_ = stepFrame(*g_) == 1;
  }
  ++frame_;
}

void ReplayPlayer::restart() {
  g_.reset();
  start();
}

void ReplayPlayer::seek(uint64_t frame) {
  if (frame < frame_) restart();
  const pf::UndrawnFrames undrawn;
  while (frame_ < frame && !over()) step(false);
}

bool ReplayPlayer::over() const {
  const pf::InputTape& tape = pf::inputTape();
  return ended_ || tape.exhausted() || tape.diverged();
}

std::string ReplayPlayer::outcome() const {
  const std::string divergence = pf::inputTape().divergence();
  const std::string differences = resultDifferences(replay_.result, runResult(*g_, static_cast<uint32_t>(frame_)));
  if (divergence.empty() && differences.empty()) {
    return std::string("it played the same: ") + runEndName(replay_.result.end) + ", score " +
           std::to_string(replay_.result.score);
  }
  return "it played differently: " + (differences.empty() ? divergence : differences);
}
