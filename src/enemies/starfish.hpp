#pragma once
// A spinning five-armed star that drifts down, swaying in step with its spin.
#include <memory>

#include "enemies/enemybase.hpp"

class starfish : public enemybase {
 public:
  starfish();

  // Spin angle in degrees.
  float angle;
  float lastX = 0;
  // Overall size factor: arm length and sprite scales.
  float size = 1;
  // Amplitude of the sideways sway and downward speed, pixels per frame.
  float xVel = 0;
  float yVel = 0;
  float spinVel = 1;
  // Sprite scales of the arm dots and the central glow (times size).
  float nodeSize = 0.075f;
  float glowSize = 0.37f;

  static std::unique_ptr<starfish> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
};
