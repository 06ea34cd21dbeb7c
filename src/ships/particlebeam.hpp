#pragma once
// Ship two's "Super Laser": a growing, swerving beam whose origin drifts
// sideways. Its own `timer` is a wobble clock that hides the shot's frame
// count, which a beam never advances (so beams never split).
#include <memory>

#include "ships/bullet.hpp"

class particlebeam : public bullet {
 public:
  int timer = 0;
  // The size the beam grows to.
  float xscalemax = 0, yscalemax = 0;
  // Sideways drift of the origin per frame (+3 or -3).
  float direction = 0;
  float collrectoffset = 0;

  // The arguments of bullet::Create, except that the scales become the
  // maximum size and the last argument is the sideways drift.
  static std::unique_ptr<particlebeam> Create(float x, float y, float angle, float speed, const pf::Image& image,
                                              float alpha, int blend, int r, int g, int b, float xscalemax,
                                              float yscalemax, float radius, int isPlayer, float direction);
  int Update() override;
  int paint() const override;
};
