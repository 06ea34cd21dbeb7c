#include "fx/particle2D.hpp"

#include "essentials/draw_helpers.hpp"
#include "platform/platform.hpp"

std::unique_ptr<particle2D> particle2D::Create(float x, float y, float xVelocity, float yVelocity, float gravity,
                                               float alpha, int blend, const pf::Image& image, float xScale,
                                               float yScale, int r, int g, int b, float angle) {
  auto p = std::make_unique<particle2D>();
  p->x = x;
  p->y = y;
  p->xVelocity = xVelocity;
  p->yVelocity = yVelocity;
  p->gravity = gravity;
  p->alpha = alpha;
  p->blend = blend;
  p->image = &image;
  p->xScale = xScale;
  p->yScale = yScale;
  p->r = r;
  p->g = g;
  p->b = b;
  p->angle = angle;
  return p;
}

int particle2D::update() {
  yVelocity += gravity;
  x += xVelocity;
  y += yVelocity;
  return 0;
}

void particle2D::paint() const {
  pf::setScale(xScale, yScale);
  pf::setColour(r, g, b);
  pf::setAlpha(alpha);
  pf::setBlend(pf::kBlendLight);
  pf::setRotation(angle);
  pf::drawImage(*image, x, y);
  resetDrawState();
}
