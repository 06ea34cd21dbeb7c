#pragma once
// A decorative particle that flies like a bullet but never hits anything (the
// ships' exhausts). Its owner fades and retires it.
#include <memory>

#include "essentials/math.hpp"
#include "essentials/recycled.hpp"
#include "platform/image.hpp"

class bullet2D : public Recycled {
 public:
  // Stay 0 until the first Update.
  float x = 0, y = 0;
  float angle = 0;
  float radius = 0;
  float speed = 0;
  float oldX = 0, oldY = 0;
  // Set by Create from a loaded image: never null.
  const pf::Image* image = nullptr;
  float alpha = 0;
  int blend = 4;
  int r = 255, g = 255, b = 255;
  float xscale = 1, yscale = 1;
  // 1 = draw as a cluster of five sprites.
  int isPlayer = 0;
  int bulletType = 0;
  // Colour of the cluster's top sprite.
  int pr = 200, pg = 0, pb = 100;
  // In an exhaust: the ageing steps taken, and the step it fades at.
  int agedTo = 0;
  int fadesAt = 0;

  static std::unique_ptr<bullet2D> Create(float x, float y, float angle, float speed, const pf::Image& image,
                                          float alpha, int blend, int r, int g, int b, float xscale, float yscale,
                                          float radius, int isPlayer, int bulletType);
  int Update();
  void paint() const;

 private:
  DirectionCache heading_;
};
