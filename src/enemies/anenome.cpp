#include "enemies/anenome.hpp"

#include "enemies/enemybullet.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bubble.hpp"
#include "fx/explosion.hpp"
#include "platform/platform.hpp"
#include "ships/playerbase.hpp"

anenome::anenome() : timer(Rand(0, 100)), angleMod(Rand(-5, 5)) {}

std::unique_ptr<anenome> anenome::Create(float x, float y, float) {
  // The phase step is drawn before the anemone is made.
  const int r = static_cast<int>(Rnd(0, 90));
  auto e = std::make_unique<anenome>();
  e->x = x;
  e->y = y;
  e->collrect = Rect::Create(0, 0, 0, 0);
  e->angle2 = 0;
  e->score = 30;
  e->energy = 4;
  // Slow sways are sped up to 4 one way or the other.
  if (e->angleMod >= -3 && e->angleMod <= 3) e->angleMod = Rand(0, 1) == 1 ? 4 : -4;
  for (int i = 0; i < kSegments; ++i) e->angle[static_cast<size_t>(i)] = static_cast<float>(i * r);
  e->layoutStalk();
  return e;
}

void anenome::layoutStalk() {
  for (int i = 0; i < kSegments; ++i) {
    const size_t k = static_cast<size_t>(i);
    xArray[k] = static_cast<float>(x + i * radius * size * Sin(angle2));
    yArray[k] = static_cast<float>(y + i * radius * size * Cos(angle2));
    // The sideways sway grows with height, the vertical one does not.
    xArray2[k] = static_cast<float>(xArray[k] + i * size * Sin(angle[k]));
    yArray2[k] = static_cast<float>(yArray[k] + size * Cos(angle[k]));
  }
}

int anenome::Update(playerbase& p1, EntityList<enemybase>& enemylist) {
  timer += 1;
  x += static_cast<float>(0.5 * Sin(timer));
  y += 0.8f;
  for (float& phase : angle) {
    phase += static_cast<float>(angleMod);
    if (Velocity == 0) phase += 1;
  }
  layoutStalk();
  collrect = Rect::Create(x - 6, y - 6, 12, 12);
  flashlife -= 0.02f;
  if (flashlife < 0.2f) flashlife = 0.2f;
  // One shot from the foot at where the ship is now.
  if (timer % 300 == 0 && y < 400) {
    flashlife = 0.8f;
    enemylist.add(enemybullet::Create(x, y, angleTo(x, y, p1.x, p1.y) - 90));
  }
  if (y > settings.screenheight + 50) return 1;
  return 0;
}

int anenome::addeffects(EntityList<bubble>& bubblelist, EntityList<blood>&) {
  if (timer % 12 == 0) bubblelist.add(bubble::Create(x, y));
  return 0;
}

int anenome::makeexplosions(EntityList<explosionbase>& explosionlist) {
  explosionlist.add(explosion::Create(x, y, 255, 255, 255, 16, 0.8f, 0, 0, 0, 0));
  return 0;
}

int anenome::paint() const {
  const pf::Image& blob = assets.blobImage();
  // A wobbling oval of sparks round the foot, in whatever colour the previous
  // painter left (white after the usual reset).
  for (int i = 0; i <= 10; ++i) {
    pf::setBlend(pf::kBlendLight);
    pf::setAlpha(0.3f);
    pf::setScale(0.15f, 0.15f);
    const double wobble = 2 * Cos(timer * i);
    const float rx = static_cast<float>(x + wobble + (15 + 5 * Sin(timer)) * Cos(timer + 35 * i));
    const float ry = static_cast<float>(y + wobble + (10 + 5 * Sin(timer + 180)) * Sin(timer + 35 * i));
    pf::drawImage(blob, rx, ry);
    pf::plot(rx, ry);
  }

  pf::setRotation(angle2 - 90);
  for (int i = 0; i < kSegments; ++i) {
    const size_t k = static_cast<size_t>(i);
    pf::setBlend(pf::kBlendLight);
    pf::setAlpha(0.8f);
    if (i < kSegments - 1) {
      pf::setScale(0.11f * size, 0.11f * size);
      pf::setColour(255, 255, 255);
      pf::drawImage(blob, xArray2[k], yArray2[k]);
    } else {
      pf::setScale(0.2f * size, 0.2f * size);
      pf::setColour(100, 255, 0);
      pf::drawImage(blob, xArray2[k], yArray2[k]);
      pf::setScale(0.1f * size, 0.1f * size);
      pf::setColour(255, 255, 255);
      pf::setAlpha(0.5f);
      pf::drawImage(blob, xArray2[k], yArray2[k]);
    }
  }

  // The tip glows faintly and blazes for a moment when it fires.
  if (flashlife > 0) {
    pf::setScale(1.5f * size, 1.5f * size);
    pf::setColour(0, 200, 100);
    pf::setAlpha(flashlife);
    pf::drawImage(blob, xArray2[kSegments - 1], yArray2[kSegments - 1]);
  }
  // The draw state is left as it stands; the next painter sets its own.
  return 0;
}

int anenome::paintBG() {
  pf::setRotation(angle2);
  pf::setScale(0.2f * size, 0.2f * size);
  pf::setColour(1, 1, 1);
  pf::setAlpha(0.8f);
  pf::setBlend(pf::kBlendAlpha);
  pf::drawImage(assets.blobImage(), x, y);
  return 0;
}
