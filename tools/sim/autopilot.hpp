#pragma once
// A deterministic pilot for whole-run simulations. Every frame it picks one of
// the nine stick directions by looking a short way ahead: it predicts the
// ship's own motion under the game's movement rules and each nearby enemy's
// motion from its last step, avoids any predicted contact, and otherwise lines
// up under a target or heads for a pick-up. It fires all the time, choosing
// the attack and the moment for the special that suit the ship it flies
// (ship_tactics.hpp). It only presses keys, as a player would.
#include <vector>

class game;
class enemybase;

class Autopilot {
 public:
  void steer(game& g);
  // Told of every enemy added to the game: one born where a dead one lay
  // must not inherit its motion, whatever addresses the heap hands out.
  void arrived(const enemybase& e) { arrivals_.push_back(&e); }
  // From this game frame on the pilot only dodges and never fires: how a run
  // that reaches the crab is left to run out of time ("Level Failed").
  int ceasefire = 0;

 private:
  struct Step {
    float x, y;
  };
  // An enemy of this frame: where it is and how far it moved since the last.
  struct Tracked {
    enemybase* who = nullptr;
    Step at{0, 0};
    Step step{0, 0};
    bool fresh = false;  // arrived since: not the enemy last seen here
  };
  struct ShipPath {
    float x[21];
    float y[21];
  };
  void track(game& g);
  ShipPath predictShip(const game& g, int dx, int dy) const;
  double danger(const game& g, const ShipPath& path) const;

  Step shipLast_{0, 0};
  Step shipVelocity_{0, 0};
  // Reused every frame, so the pilot costs the run no allocations.
  std::vector<Tracked> tracked_;  // this frame's enemies, in list order
  std::vector<Tracked> nearby_;   // those close enough to reach the ship
  // Last frame's positions by enemy address: open addressing, the size a
  // power of two at least twice the enemies, empty slots hold nullptr.
  std::vector<Tracked> previous_;
  std::vector<const enemybase*> arrivals_;  // since the last steer
};
