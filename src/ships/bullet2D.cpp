#include "ships/bullet2D.hpp"

#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

std::unique_ptr<bullet2D> bullet2D::Create(float x, float y, float angle, float speed, const pf::Image* image,
                                           float alpha, int blend, int r, int g, int b, float xscale, float yscale,
                                           float radius, int isPlayer, int bulletType) {
  auto p = std::make_unique<bullet2D>();
  p->oldX = x;
  p->oldY = y;
  p->angle = angle;
  p->speed = speed;
  p->image = image;
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
  // Shared sprite, always drawn centred: see bullet::launch.
  if (image != nullptr) pf::midHandleImage(const_cast<pf::Image&>(*image));
  return p;
}

int bullet2D::Update() {
  radius += speed;
  heading_.aim(angle);
  x = static_cast<float>(oldX + radius * heading_.cos());
  y = static_cast<float>(oldY + radius * heading_.sin());
  return 0;
}

void bullet2D::paint() {
  if (image != nullptr) {
    pf::setScale(xscale, yscale);
    pf::setRotation(angle + 180);
    pf::setBlend(blend);
    pf::setAlpha(alpha / 2);
    pf::setColour(r, g, b);
    if (isPlayer == 1) {
      pf::drawImage(*image, x - 6, y + 3);
      pf::drawImage(*image, x + 6, y + 3);
      pf::drawImage(*image, x - 3, y - 5);
      pf::drawImage(*image, x + 3, y - 5);
      pf::setColour(pr, pg, pb);
      pf::drawImage(*image, x, y - 10);
    } else {
      pf::drawImage(*image, x, y);
    }
  }
  resetDrawState();
}
