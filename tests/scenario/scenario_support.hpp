#pragma once
// Helpers for scenario tests: a fresh run on the headless backend with the
// real embedded assets, a stationary test enemy, and frame stepping.
#include <memory>

#include "enemies/enemybase.hpp"
#include "game/game.hpp"
#include "test_support.hpp"

// Headless platform, default settings, real assets (decoded once per test
// binary), seeded generator; then a run for the ship.
std::unique_ptr<game> newRun(int ship = 1, uint64_t seed = 1);

// Runs whole frames as the front end does: Update unless paused, Draw, flip.
// Returns the last Update result.
int runFrames(game& g, int frames);

// Advances the run until the ship has finished its entry (input is read).
void skipEntry(game& g);

// An FNV-1a hash of numbers (to 1/4096).
class Hash {
 public:
  void add(double v) {
    const auto bits = static_cast<int64_t>(v * 4096.0);
    for (int i = 0; i < 8; ++i) {
      hash_ ^= static_cast<uint64_t>(bits >> (8 * i)) & 0xff;
      hash_ *= 1099511628211ull;
    }
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 1469598103934665603ull;
};

// Everything of the run that play or a later drawing can read: clocks,
// score, the ship, list sizes, every enemy and the energy bar's phases.
uint64_t playState(game& g);

// A stationary enemy for collision tests. It keeps its box around (x, y),
// can leave the field on its first Update, and counts what happens to it.
class Dummy : public enemybase {
 public:
  float halfSize = 10;
  int leaveOnUpdate = 0;
  int updates = 0;
  int explosionsMade = 0;

  static Dummy* spawn(game& g, float x, float y, float energy = 1);
  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override { return 0; }
  int makeexplosions(EntityList<explosionbase>& explosionlist) override;
};
