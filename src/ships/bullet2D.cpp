#include "ships/bullet2D.hpp"

#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

std::unique_ptr<bullet2D> bullet2D::Create(float x, float y, float angle, float speed, const pf::Image& image,
                                           float alpha, int blend, int r, int g, int b, float xscale, float yscale,
                                           float radius, int isPlayer, int bulletType) {
  auto p = std::make_unique<bullet2D>();
  p->oldX = x;
  p->oldY = y;
  p->angle = angle;
  p->speed = speed;
  p->image = &image;
  p->alpha = alpha;
  p->blend = blend;
  p->r = r;
  p->g = g;
  p->b = b;
  p->xscale = xscale;
  p->yscale = yscale;
  p->radius = radius;
  p->isPlayer = isPlayer;
  p->bulletType = bulletType;
  return p;
}

int bullet2D::Update() {
  radius += speed;
  heading_.aim(angle);
  x = static_cast<float>(oldX + radius * heading_.cos());
  y = static_cast<float>(oldY + radius * heading_.sin());
  return 0;
}

void bullet2D::paint() const {
  pf::setScale(xscale, yscale);
  pf::setRotation(angle + 180);
  pf::setBlend(blend);
  pf::setAlpha(alpha / 2);
  pf::setColour(r, g, b);
  // Drawn about the sprite's centre, like every shot.
  const pf::Origin centre = pf::centreOf(*image);
  if (isPlayer == 1) {
    pf::drawImage(*image, x - 6, y + 3, centre);
    pf::drawImage(*image, x + 6, y + 3, centre);
    pf::drawImage(*image, x - 3, y - 5, centre);
    pf::drawImage(*image, x + 3, y - 5, centre);
    pf::setColour(pr, pg, pb);
    pf::drawImage(*image, x, y - 10, centre);
  } else {
    pf::drawImage(*image, x, y, centre);
  }
  resetDrawState();
}
