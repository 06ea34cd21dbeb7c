#pragma once
class game;

// A deterministic pilot for whole-run simulations: it fires, chases pick-ups
// and dodges enemy bullets and bodies with a short look-ahead. It only presses
// keys, exactly as a player would.
class Autopilot {
 public:
  void steer(game& g);

 private:
  int held_[4] = {0, 0, 0, 0};
};
