#include "ships/ship5bullet.hpp"

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

std::unique_ptr<ship5bullet> ship5bullet::Create(float x, float y, float angle, float /*speed*/, const pf::Image& image,
                                                 float /*alpha*/, int /*blend*/, int /*r*/, int /*g*/, int /*b*/,
                                                 float xScale, float yscale, float /*radius*/, int /*isPlayer*/,
                                                 float damage) {
  auto s = std::make_unique<ship5bullet>();
  s->X = s->oldX = x;
  s->Y = s->oldY = y;
  s->image = &image;
  s->angle = angle;
  s->xScale = xScale;
  s->yscale = yscale;
  s->damage = damage;
  s->collrect = Rect::Create(0, 0, 0, 0);
  return s;
}

int ship5bullet::Update() {
  Y -= 20;
  angle += 9;
  X = static_cast<float>(oldX + 30 * Sin(angle));
  collrect = Rect::Create(X - 10, Y - 25, 20, 50);
  return Y < -50 ? 1 : 0;
}

// Leaves scale, alpha, blend and colour set for whatever is drawn next.
int ship5bullet::paint() const {
  pf::setScale(xScale, yscale);
  pf::setAlpha(0.6f);
  pf::setBlend(pf::kBlendLight);
  pf::setColour(255, 150, 0);
  pf::drawImage(assets.blobImage(), X, Y);
  return 0;
}
