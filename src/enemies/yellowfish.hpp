#pragma once
// A small wriggling fish that swims down at its own pulsing speed.
#include <memory>

#include "enemies/enemybase.hpp"

class yellowfish : public enemybase {
 public:
  yellowfish();

  // Heading in degrees: 0 moves down, 180 up.
  float angle2;
  // Tail-beat phase in degrees.
  int angle = 0;
  // Current speed along the heading (negative: downwards).
  float vel = -1;
  // Body direction used for drawing.
  float dir = 0;
  int timer;
  // The fish's own cruising speed.
  float rnum;

  static std::unique_ptr<yellowfish> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
};
