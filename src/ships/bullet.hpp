#pragma once
// A gun shot: flies in a straight line from its start point and hits enemies
// through `collrect`. Ship two's beam and ship five's laser derive from it.
#include <memory>

#include "essentials/geometry.hpp"
#include "essentials/math.hpp"
#include "essentials/recycled.hpp"
#include "platform/image.hpp"

class bullet : public Recycled {
 public:
  virtual ~bullet();

  float X = 0, Y = 0;
  // Degrees: 0 right, 90 down, 270 up.
  float angle = 0;
  // Distance from the start point.
  float radius = 0;
  float speed = 0;
  // Start point.
  float oldX = 0, oldY = 0;
  // Set by Create from a loaded image: never null.
  const pf::Image* image = nullptr;
  float alpha = 0;
  int blend = 4;
  int r = 255, g = 255, b = 255;
  float xScale = 1, yscale = 1;
  int isPlayer = 0;
  Rect collrect;
  // Energy taken per hit, before the session's damage multiplier.
  float damage = 1;
  int isparticlebeam = 0;
  // Frames since creation.
  int timer = 0;

  // `radius` is a head start along the direction of travel.
  static std::unique_ptr<bullet> Create(float x, float y, float angle, float speed, const pf::Image& image, float alpha,
                                        int blend, int r, int g, int b, float xScale, float yscale, float radius,
                                        int isPlayer, float damage);
  // 1 = left the field (above it or past a side; never by the bottom).
  virtual int Update();
  virtual int paint() const;

 protected:
  // Fills the fields every straight-flying shot shares and centres the image.
  void launch(float x, float y, float angle, float speed, const pf::Image& image, float alpha, int blend, int r, int g,
              int b, float radius, int isPlayer);
  // Advances `radius` and places the shot on its ray from the start point.
  void moveAlongRay();
  int leftField() const;
  // The two layers every shot is drawn in: a white core at the given scale,
  // then the glow in its colour at its own scale plus 0.1; then a state reset.
  void paintCoreAndGlow(float coreXScale, float coreYScale) const;

 private:
  DirectionCache heading_;
};
