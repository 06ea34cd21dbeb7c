#include "fx/glsprite.hpp"

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

glsprite::glsprite() : rot(static_cast<float>(Rnd(-2, 2))) {}

std::unique_ptr<glsprite> glsprite::Create(float x, float y, float angle, float speed, float scale, float texoffsetx,
                                           float texoffsety) {
  auto s = std::make_unique<glsprite>();
  s->x = x;
  s->y = y;
  s->oldx = x;
  s->oldy = y;
  s->angle = angle;
  s->speed = speed;
  s->scale(scale, scale);
  s->texoffsetx = texoffsetx;
  s->texoffsety = texoffsety;
  return s;
}

void glsprite::scale(float sx, float sy) {
  xscale = sx;
  yscale = sy;
}

int glsprite::Update() {
  speed -= 3;
  if (speed < 0) speed = 0;
  life -= kLifeStep;
  radius += speed;
  // The spark moves by the whole radius every frame, so once speed is spent
  // it keeps a constant pace rather than stopping.
  heading_.aim(angle);
  x = static_cast<float>(x + radius * heading_.cos());
  y = static_cast<float>(y + radius * heading_.sin());
  xscale -= 0.01f;
  if (xscale < 0) xscale = 0;
  yscale -= 0.01f;
  if (yscale < 0) yscale = 0;
  rot += 10;
  return life < 0 ? 1 : 0;
}

void glsprite::paint() const {
  pf::setColour(r, g, b);
  pf::setAlpha(life);
  pf::setScale(xscale, yscale);
  pf::setBlend(pf::kBlendLight);
  if (radius > static_cast<float>(radiusthreshold)) pf::drawImage(assets.blobImage(), x, y);
}
