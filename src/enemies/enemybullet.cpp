#include "enemies/enemybullet.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "platform/platform.hpp"
#include "ships/tstreak.hpp"

enemybullet::enemybullet() = default;
enemybullet::~enemybullet() = default;

std::unique_ptr<enemybullet> enemybullet::Create(float x, float y, float third) {
  auto e = std::make_unique<enemybullet>();
  e->x = x;
  e->y = y;
  e->angle = third;
  e->tail = tstreak::Create(x, y, 255, 255, 255);
  e->collrect = Rect::Create(0, 0, 0, 0);
  e->isbullet = 1;
  playSfx(assets.sfxBshot, 0.5f, 1.0f);
  return e;
}

int enemybullet::Update(playerbase&, EntityList<enemybase>&) {
  timer += 12;
  heading_.aim(angle);
  x += speed * heading_.cos();
  y += speed * heading_.sin();
  // Sideways the bullet leaves at the edges of the playable band, not the screen.
  if (y > settings.screenheight + 20 || y < -20 || x > 700 || x < 100) return 1;
  if (drawblob == 0 && drawtail == 0) {
    collrect = Rect::Create(x - 2, y - 2, 4, 4);
  } else {
    collrect = Rect::Create(x - 4, y - 4, 8, 8);
  }
  tail->add(x, y);
  return 0;
}

int enemybullet::damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>&,
                        EntityList<explosionbase>&) {
  if (amount > 1) energy -= amount;
  return releaseBubblesIfDead(bubblelist);
}

int enemybullet::paint() const {
  const pf::Image& blob = assets.blobImage();
  resetDrawState();
  if (drawtail == 1) tail->draw();
  resetDrawState();

  pf::setBlend(pf::kBlendLight);
  pf::setScale(1, 1);
  pf::setAlpha(0.3f);
  pf::setColour(r, g, b);
  if (drawblob == 1) pf::drawImage(blob, x, y);

  // The bright core.
  pf::setAlpha(0.8f);
  pf::setScale(0.25f, 0.25f);
  pf::setColour(255, 255, 255);
  pf::drawImage(blob, x, y);

  // Three sparks circling the core 120 degrees apart.
  pf::setColour(r, g, b);
  for (int i = 0; i < 3; ++i) {
    pf::drawImage(blob, static_cast<float>(x + 8 * Cos(timer + 120 * i)),
                  static_cast<float>(y + 8 * Sin(timer + 120 * i)));
  }
  resetDrawState();
  return 0;
}
