#pragma once
// Ship five's laser: climbs 20 pixels a frame while weaving 30 pixels either
// side of where it was fired; a pair half a turn apart makes a double helix.
#include <memory>

#include "ships/bullet.hpp"

class ship5bullet : public bullet {
 public:
  // The arguments of bullet::Create; only position, image, angle (the weave
  // phase), scales and damage are kept.
  static std::unique_ptr<ship5bullet> Create(float x, float y, float angle, float speed, const pf::Image& image,
                                             float alpha, int blend, int r, int g, int b, float xScale, float yscale,
                                             float radius, int isPlayer, float damage);
  int Update() override;
  int paint() const override;
};
