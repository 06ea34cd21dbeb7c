#pragma once
// Verifying uploaded runs by playing them again with the game's own
// simulation, headless. A run is verified when its replay reads within the
// bounds of a run, was recorded under this server's gameplay version, is of
// the ship it was uploaded for, ran to an end (the crab beaten, "Level
// Failed", game over or quit) and plays to exactly the score claimed.
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "score_store.hpp"

// Makes the game ready to play runs headless: the headless backend, silent
// sound, every asset. Once, before any verification (and before the worker
// processes are forked, so they share the decoded assets).
void prepareVerification();

// The verdict on one replay, played in this process.
RunVerdict verifyReplay(const std::vector<uint8_t>& replay, int ship, int64_t claimed);

struct VerifierOptions {
  int workers = 2;
  int cpuSecondsPerRun = 10;  // a whole run takes about a tenth of a second
  int staleSeconds = 60;      // a claim older than this is taken again (a check's
                              // processor time is limited to half of it)
};

// Workers that claim runs from the store and verify them, each run in a
// child process of its own: limited in processor time and memory, and unable
// to take the server down whatever the replay does.
class VerifierPool {
 public:
  VerifierPool(ScoreStore& store, const VerifierOptions& options);
  // Lets the runs being checked finish, then stops.
  ~VerifierPool();
  VerifierPool(const VerifierPool&) = delete;
  VerifierPool& operator=(const VerifierPool&) = delete;

 private:
  void work();

  ScoreStore& store_;
  VerifierOptions options_;
  std::atomic<bool> stopping_{false};
  std::vector<std::thread> workers_;
};

// One run verified in a child process under the limits; a child that runs
// out of time or dies is a rejection that says so.
RunVerdict verifyInChild(const RunJob& job, int cpuSeconds);
