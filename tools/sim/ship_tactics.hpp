#pragma once
// How the autopilot handles each ship: the speed limits it predicts the
// ship's path with, and which attack buttons it holds, the special included.
class game;

struct SpeedLimits {
  float x, y;
};
SpeedLimits speedLimits(const game& g);

struct AttackButtons {
  bool fire1 = false, fire2 = false, fire3 = false;
};
AttackButtons chooseAttacks(game& g);
