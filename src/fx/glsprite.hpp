#pragma once
// One spark of an explosion: flies out along `angle`, covering `radius`
// pixels a frame, shrinking and fading as it goes.
#include <memory>

#include "essentials/math.hpp"
#include "essentials/recycled.hpp"

class glsprite : public Recycled {
 public:
  int tex = 0;
  float x = 0, y = 0;
  float z = 0;
  float angle = 0;
  float life = 1.5f;
  // What every Update takes off `life`.
  static constexpr float kLifeStep = 0.04f;
  float rot;
  float xscale = 1, yscale = 1;
  int r = 255, g = 255, b = 255;
  float radius = 0;
  float speed = 0;
  float texoffsetx = 0, texoffsety = 0;
  float texwidth = 0.2f, texheight = 0.2f;
  // Drawn only while `radius` is above this.
  int radiusthreshold = 0;
  float oldx = 0, oldy = 0;

  glsprite();
  static std::unique_ptr<glsprite> Create(float x, float y, float angle, float speed, float scale, float texoffsetx,
                                          float texoffsety);
  void scale(float sx, float sy);
  // 1 = dead.
  int Update();
  void paint() const;

 private:
  DirectionCache heading_;
};
