#include "fx/tpoint.hpp"

#include "essentials/math.hpp"

tpoint::tpoint() : size(static_cast<float>(Rnd(0.9, 2.3))) {}

std::unique_ptr<tpoint> tpoint::Create(float x, float y) {
  auto p = std::make_unique<tpoint>();
  p->x = x;
  p->y = y;
  return p;
}
