#include "enemies/jellyfish.hpp"

#include "enemies/enemybullet.hpp"
#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/sound_helpers.hpp"
#include "fx/bigexplosion.hpp"
#include "fx/explosion.hpp"
#include "platform/platform.hpp"

jellyfish::jellyfish() : tim(static_cast<float>(Rand(0, 359))), angle(Rand(0, 359)) {}
jellyfish::~jellyfish() = default;

std::unique_ptr<jellyfish> jellyfish::Create(float x, float y, float) {
  auto e = std::make_unique<jellyfish>();
  e->x = x;
  e->y = y;
  // It can be shot from 30 pixels above the top edge.
  e->attackable = -30;
  e->jelly = 1;
  e->collrect = Rect::Create(0, 0, 0, 0);
  e->energy = 50;
  e->score = 300;
  for (int i = 0; i < 7; ++i) {
    const int spacing = Rand(13, 20);
    e->tentacleList.add(tentacle::Create(x, y, static_cast<float>(-5 + 1.5 * i), static_cast<float>(spacing), 10));
  }
  return e;
}

int jellyfish::Update(playerbase&, EntityList<enemybase>& enemylist) {
  angle += 8;
  tim += 0.5f;
  timer += 1;
  x += xvel;
  y += yvel;
  // Sways sideways over 180 frames and bobs 40 pixels over 540.
  x2 = static_cast<float>(x + 10 * Cos(angle / 4));
  y2 = static_cast<float>(y + 40 * Sin(angle / 12));
  tentacleList.forEach([&](tentacle& t) {
    t.tx = x2;
    t.tY = ymov - 20;
    t.update();
  });
  collrect = Rect::Create(x - 30, y - 30, 60, 60);
  if (x > 125 && x < 655 && timer % 40 == 0 && y < 400) {
    // A downward fan; the inner angles are not quite symmetric.
    for (const float heading : {45.0f, 66.5f, 90.0f, 112.4f, 135.0f}) {
      enemylist.add(enemybullet::Create(x2, y2, heading));
    }
    playSfx(assets.sfxBshot, 0.8f, 1.0f);
  }
  // Fixed bounds, whatever the screen height.
  if (y < -150 || y > 650) return 1;
  return 0;
}

int jellyfish::makeexplosions(EntityList<explosionbase>& explosionlist) {
  addChainedDeath(explosionlist, x, y, 10);
  return 0;
}

float jellyfish::bellRowY(int i) const { return static_cast<float>(y2 - 20 + ((i + 1) / 2) * Sin(angle / 4) + 4 * i); }

void jellyfish::updateLooks() {
  glowY_ = ymov;
  ymov = bellRowY(14);
}

int jellyfish::paint() const {
  const pf::Image& blob = assets.blobImage();
  const int a4 = angle / 4;

  pf::setBlend(pf::kBlendLight);
  pf::setColour(255, 255, 255);
  pf::setAlpha(0.5f);
  pf::setScale(0.7f, 0.6f);
  pf::drawImage(blob, x2, glowY_);
  pf::setAlpha(0.2f);
  pf::setScale(static_cast<float>(2 + 0.5 * Sin(angle)), static_cast<float>(2 + 0.5 * Sin(angle + 45)));
  pf::drawImage(blob, x2, y2 + 10);

  pf::setAlpha(1);
  resetDrawState();
  // The first updates jump from the origin; the tentacles show from the third frame.
  if (timer > 2) tentacleList.forEach([](const tentacle& t) { t.paint(); });
  pf::setLineWidth(1);
  resetDrawState();
  pf::setBlend(pf::kBlendLight);

  // The bell: fifteen rows of mirrored pairs.
  for (int i = 0; i < 15; ++i) {
    const float rowY = bellRowY(i);
    const double spread = 2 * i * Sin(20 * i);
    const double c1 = 1.5 * Cos((i * i / 8) * tim);
    pf::setRotation(0);
    pf::setAlpha(0.2f);
    pf::setColour(0, 150, 200);
    pf::setScale(0.4f, 0.4f);
    const float outerRight = static_cast<float>(x2 + c1 + 2.5 * i + spread);
    const float outerLeft = static_cast<float>(x2 + c1 - 2.5 * i - spread);
    pf::drawImage(blob, outerRight, rowY);
    pf::drawImage(blob, outerLeft, rowY);
    pf::setColour(255, 255, 255);
    pf::setScale(0.05f, 0.05f);
    pf::drawImage(blob, outerRight, rowY);
    pf::drawImage(blob, outerLeft, rowY);

    const double c2 = 1.5 * Cos(2 * tim * (i * i / 8));
    const float ribTilt = static_cast<float>(8 * i * Sin(20 * i));
    pf::setScale(static_cast<float>(0.1 + 0.05 * Sin(timer)), static_cast<float>(0.4 + 0.05 * Sin(timer)));
    pf::setColour(150, 150, 200);
    pf::setRotation(-ribTilt);
    pf::drawImage(blob, static_cast<float>(x2 + c2 + 0.7 * i + spread), rowY);
    pf::setRotation(ribTilt);
    pf::drawImage(blob, static_cast<float>(x2 + c2 - 0.7 * i - spread), rowY);

    const double innerSpread = 1.1 * i * Sin(20 * i);
    pf::setColour(150, 0, 200);
    pf::setRotation(-ribTilt);
    pf::drawImage(blob, static_cast<float>(x2 + c2 + 0.3 * i + innerSpread), rowY);
    pf::setRotation(ribTilt);
    pf::drawImage(blob, static_cast<float>(x2 + c2 - 0.3 * i - innerSpread), rowY);
  }

  // A rosette of blue, magenta and red in the bell.
  resetDrawState();
  pf::setBlend(pf::kBlendLight);
  const float cy = ymov - 25;
  for (int i = 0; i <= 34; i += 2) {
    const int k = 35 * i;
    const float bx = static_cast<float>(x2 + 3 * Sin(k + a4)), by = static_cast<float>(cy + 3 * Cos(k));
    const float mx = static_cast<float>(x2 + 7 * Sin(k)), my = static_cast<float>(cy + 7 * Cos(k + a4));
    const float rx = static_cast<float>(x2 + 10 * Sin(k + a4)), ry = static_cast<float>(cy + 10 * Cos(k + a4));
    pf::setAlpha(0.1f);
    pf::setScale(0.2f, 0.2f);
    pf::setColour(0, 0, 255);
    pf::drawImage(blob, bx, by);
    pf::setColour(255, 0, 255);
    pf::drawImage(blob, mx, my);
    pf::setColour(255, 0, 0);
    pf::drawImage(blob, rx, ry);
    pf::setAlpha(0.2f);
    pf::setColour(255, 255, 255);
    pf::setScale(0.05f, 0.05f);
    pf::drawImage(blob, rx, ry);
    pf::drawImage(blob, mx, my);
    pf::drawImage(blob, bx, by);
  }
  resetDrawState();
  return 0;
}
