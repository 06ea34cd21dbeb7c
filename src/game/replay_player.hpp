#pragma once
// A recorded run played back under control: frame by frame, drawn or not,
// from the start again, or to any frame by playing the run again from its
// start without drawing (a whole run takes well under a second). The replay
// theatre and the tests drive it.
#include <cstdint>
#include <memory>
#include <string>

#include "essentials/settings.hpp"
#include "persist/replay_file.hpp"

class game;

class ReplayPlayer {
 public:
  // Puts the replay's settings in force and starts its run; ok() says
  // whether the replay's ship exists.
  explicit ReplayPlayer(const Replay& replay);
  // Gives the player's settings and achievements back (watching a run earns
  // nothing) and stops the level's music.
  ~ReplayPlayer();
  ReplayPlayer(const ReplayPlayer&) = delete;
  ReplayPlayer& operator=(const ReplayPlayer&) = delete;

  bool ok() const { return g_ != nullptr; }
  // One frame of the run, drawn (not presented: the caller flips) or left
  // undrawn; nothing once the run is over.
  void step(bool drawn);
  // Back to the start of the run.
  void restart();
  // To the moment `frame` frames have been played (within the recording),
  // playing again from the start when it lies behind.
  void seek(uint64_t frame);

  uint64_t frame() const { return frame_; }
  uint64_t length() const { return replay_.result.frames; }
  // The run ended, the recording ran out, or the run left it.
  bool over() const;
  const game& session() const { return *g_; }
  // Once over: whether the run came to the recorded result, as one line.
  std::string outcome() const;

 private:
  void start();

  const Replay& replay_;
  const decltype(ProgramState::achievementFlags) achievementFlags_;
  std::unique_ptr<game> g_;
  uint64_t frame_ = 0;
  bool ended_ = false;
};
