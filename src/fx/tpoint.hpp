#pragma once
// A plain point with a little motion state: the links of a missile trail, the
// stops of a chained explosion and the flames of a fire attack.
#include <memory>
#include "essentials/recycled.hpp"

class tpoint : public Recycled {
 public:
  float x = 0, y = 0;
  float angle = 0;
  float xVel = 0, yVel = 0;
  float speed = 0;
  float size;

  tpoint();
  static std::unique_ptr<tpoint> Create(float x, float y);
};
