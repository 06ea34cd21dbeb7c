#include "game/bonus.hpp"

#include <algorithm>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "fx/explosion.hpp"
#include "platform/platform.hpp"

std::unique_ptr<bonus> bonus::Create(float x, float y, int btype) {
  auto b = std::make_unique<bonus>();
  b->x = x;
  b->y = std::min(y, 350.0f);
  b->btype = btype;
  playSfx(assets.sfxFruitJack, 0.2f, 1.0f);
  return b;
}

int bonus::Update(EntityList<explosionbase>& explosionlist) {
  y += 0.5f;
  angle += 1;
  x = static_cast<float>(x + 1.5 * Sin(angle));
  x = std::min(std::max(x, 150.0f), static_cast<float>(settings.screenwidth - 150));
  collrect = Rect{x - 20, y - 20, 40, 40};
  if (t == 0) {
    explosionlist.add(explosion::Create(x, y, 255, 255, 0, 16, 0.7f, 0, 0, 0, 0));
    t = 1;
  }
  return y > static_cast<float>(settings.screenheight + 20) ? 1 : 0;
}

int bonus::checkcollisions(const Rect& rect) const { return overlaps(rect, collrect); }

int bonus::paint() const {
  const pf::Image& blob = assets.blobImage();
  pf::setBlend(pf::kBlendLight);
  pf::setScale(2, 2);
  pf::setAlpha(0.1f);
  pf::setColour(255, 255, 0);
  pf::drawImage(blob, x, y);

  pf::setScale(0.2f, 0.2f);
  pf::setAlpha(0.6f);
  const double r1 = 12 + 3 * Sin(2.0 * angle);
  const double r2 = 12 + 3 * Sin(angle + 360.0);
  for (int i = 0; i < 8; ++i) {
    const double a = 2.0 * angle + 45.0 * i;
    pf::setColour(255, 255, 255);
    pf::drawImage(blob, static_cast<float>(x + r1 * Sin(a)), static_cast<float>(y + r1 * Cos(a)));
    if (btype == 0) {
      pf::setColour(200, 0, 100);
    } else {
      pf::setColour(255, 255, 0);
    }
    pf::drawImage(blob, static_cast<float>(x + r2 * Sin(a + 22.5)), static_cast<float>(y + r2 * Cos(a + 22.5)));
  }

  pf::setBlend(pf::kBlendAlpha);
  pf::setAlpha(1);
  pf::setRotation(0);
  const char* letter = btype == 0 ? "P" : "S";
  const double wobble = Sin(2.0 * angle);
  const double wobble90 = Sin(2.0 * angle + 90);
  pf::setColour(0, 0, 0);
  pf::setScale(static_cast<float>(0.75 + 0.2 * wobble), static_cast<float>(0.75 + 0.2 * wobble90));
  drawTextCentred(letter, x, y, 1);
  pf::setColour(255, 255, 255);
  pf::setScale(static_cast<float>(0.7 + 0.2 * wobble), static_cast<float>(0.7 + 0.2 * wobble90));
  drawTextCentred(letter, x - 0.25f, y - 0.25f, 1);
  return 0;
}
