#pragma once
// A free particle: moves with its velocity under gravity and is drawn as a
// tinted, rotated sprite. The owning list fades and retires it.
#include <memory>

#include "essentials/recycled.hpp"
#include "platform/image.hpp"

class particle2D : public Recycled {
 public:
  float x = 0, y = 0;
  float xVelocity = 0, yVelocity = 0;
  float gravity = 0;
  float alpha = 1;
  // Kept as given; drawing always uses light blending.
  int blend = 4;
  // Set by Create from a loaded image: never null.
  const pf::Image* image = nullptr;
  float xScale = 1, yScale = 1;
  int r = 255, g = 255, b = 255;
  float angle = 0;

  static std::unique_ptr<particle2D> Create(float x, float y, float xVelocity, float yVelocity, float gravity,
                                            float alpha, int blend, const pf::Image& image, float xScale, float yScale,
                                            int r, int g, int b, float angle);
  int update();
  void paint() const;
};
