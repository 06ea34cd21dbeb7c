#pragma once
// A deterministic pilot for whole-run simulations. Every frame it picks one of
// the nine stick directions by looking a short way ahead: it predicts the
// ship's own motion under the game's movement rules and each nearby enemy's
// motion from its last step, avoids any predicted contact, and otherwise lines
// up under a target or heads for a pick-up. It fires all the time, choosing
// the attack and the moment for the special that suit the ship it flies
// (ship_tactics.hpp). It only presses keys, as a player would.
#include <unordered_map>

class game;
class enemybase;

class Autopilot {
 public:
  void steer(game& g);
  // From this game frame on the pilot only dodges and never fires: how a run
  // that reaches the crab is left to run out of time ("Level Failed").
  int ceasefire = 0;

 private:
  struct Step {
    float x, y;
  };
  Step lastStep(const enemybase& e) const;
  double danger(game& g, int dx, int dy) const;
  double preference(game& g, int dx, int dy) const;

  Step shipLast_{0, 0};
  Step shipVelocity_{0, 0};
  std::unordered_map<const enemybase*, Step> seen_;
  std::unordered_map<const enemybase*, Step> velocity_;
};
