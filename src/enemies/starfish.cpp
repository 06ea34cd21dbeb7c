#include "enemies/starfish.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"

starfish::starfish() : angle(static_cast<float>(Rand(0, 359))) {}

std::unique_ptr<starfish> starfish::Create(float x, float y, float) {
  auto e = std::make_unique<starfish>();
  e->x = x;
  e->y = y;
  e->collrect = Rect::Create(0, 0, 0, 0);
  e->score = 10;
  e->energy = 1;
  return e;
}

int starfish::Update(playerbase&, EntityList<enemybase>&) {
  angle += spinVel;
  x += xVel * Sin(angle);
  y += yVel;
  collrect = Rect::Create(x - 10, y - 10, 20, 20);
  if (y > settings.screenheight + 50) return 1;
  return 0;
}

int starfish::paint() const {
  const pf::Image& blob = assets.blobImage();
  pf::setAlpha(1);
  pf::setColour(255, 255, 255);
  pf::setBlend(pf::kBlendLight);
  pf::setScale(nodeSize * size, nodeSize * size);
  for (int i = 0; i <= 15; i += 5) {
    // Opposite signs of the bend in x and y make the arms curl as the star spins.
    const float bend = static_cast<float>((i + 10) * Sin(angle));
    if (i >= 15) pf::setColour(255, 127, 0);
    for (int k = 0; k < 5; ++k) {
      pf::drawImage(blob, static_cast<float>(x + i * size * Cos(angle + bend + 72 * k)),
                    static_cast<float>(y + i * size * Sin(angle - bend + 72 * k)));
    }
  }
  pf::setScale(glowSize * size, glowSize * size);
  pf::setColour(255, 127, 0);
  pf::setAlpha(0.75f);
  pf::drawImage(blob, x, y);
  resetDrawState();
  return 0;
}
