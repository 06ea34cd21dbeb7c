#pragma once
// A small rising, wobbling bubble that fades out in about 40 frames.
#include <memory>
#include "essentials/recycled.hpp"

class bubble : public Recycled {
 public:
  float x = 0, y = 0;
  float life = 1;
  float size = 0;
  // Wobble phase, whole degrees.
  int angle;
  float speed;

  bubble();
  static std::unique_ptr<bubble> Create(float x, float y);
  // 1 = gone.
  int Update();
  void paint();
};
