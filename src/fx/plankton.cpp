#include "fx/plankton.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"

plankton::plankton() : angle(static_cast<float>(Rand(0, 359))), speed(static_cast<float>(Rnd(0.5, 1.5))) {}

std::unique_ptr<plankton> plankton::Create(float x, float y) {
  auto p = std::make_unique<plankton>();
  p->x = x;
  p->y = y;
  return p;
}

int plankton::update() {
  y += speed;
  angle += 1;
  x2 = static_cast<float>(x + 120 * Cos(angle));
  y2 = static_cast<float>(y + 40 * Cos(angle));
  if (y > static_cast<float>(settings.screenheight + 100)) y = -100;
  return 0;
}

void plankton::paint() const {
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.15f / alphadiv);
  // The halo breathes: its two axes swell out of phase.
  pf::setScale(static_cast<float>(size + Sin(angle)), static_cast<float>(size + Sin(angle + 90)));
  pf::setColour(r, g, b);
  if (big == 1) pf::drawImage(assets.blobImage(), x2, y2);
  pf::setAlpha(1);
  pf::setScale(0.05f, 0.05f);
  pf::setColour(255, 255, 0);
  pf::drawImage(assets.blobImage(), x2, y2);
  resetDrawState();
}
