#include "enemies/hermitshell.hpp"

#include <cmath>

#include "enemies/shrimp2.hpp"
#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bubble.hpp"
#include "platform/platform.hpp"

std::unique_ptr<hermitshell> hermitshell::Create(float x, float y, float) {
  auto e = std::make_unique<hermitshell>();
  e->x = x;
  e->y = y;
  e->score = 300;
  e->energy = 80;
  e->collrect = Rect::Create(0, 0, 0, 0);
  return e;
}

int hermitshell::Update(playerbase&, EntityList<enemybase>& enemylist) {
  timer += 2;
  angle += 1;
  y += 0.7f;
  x2 = static_cast<float>(x + 10 * Cos(angle / 4));
  // The shell stands above its reference point.
  collrect = Rect::Create(x2 - 30, y - 120, 60, 120);
  // A young shrimp every 25 frames while in the upper field.
  if (std::fmod(timer, 25.0f) == 0 && y > 10 && y < 400) {
    const int lift = Rand(0, 50);
    const int heading = Rand(0, 359);
    enemylist.add(shrimp2::Create(x, y - static_cast<float>(lift), static_cast<float>(heading)));
  }
  if (y > settings.screenheight + 100) return 1;
  return 0;
}

int hermitshell::addeffects(EntityList<bubble>& bubblelist, EntityList<blood>&) {
  if (std::fmod(timer, 4.0f) != 0) return 0;
  const int dx1 = Rand(-10, 10);
  bubblelist.add(bubble::Create(x + static_cast<float>(dx1),
                                static_cast<float>(y - 40 - 10 * Sin(timer + 90) - 99 - 16 * Sin(timer / 1.2 + 90))));
  const int dx2 = Rand(-20, 20);
  bubblelist.add(bubble::Create(x + static_cast<float>(dx2), static_cast<float>(y - 99 - 18 * Sin(timer))));
  return 0;
}

int hermitshell::damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>& enemylist,
                        EntityList<explosionbase>&) {
  const bool wasAlive = energy > 0;
  energy -= amount;
  if (energy > 0) return 0;
  // Only the hit that kills releases the young: a beam or a fire wall hits
  // many times in one frame.
  if (wasAlive) {
    const int cx = static_cast<int>(x2);
    const int cy = static_cast<int>(y);
    for (int i = 0; i < 50; ++i) {
      releaseDeathBubble(bubblelist, static_cast<float>(cx - 30), static_cast<float>(cx + 30),
                         static_cast<float>(cy - 60), static_cast<float>(cy));
      const int sx = Rand(cx - 30, cx + 30);
      const int sy = Rand(cy - 60, cy);
      const int heading = Rand(0, 180);
      enemylist.add(shrimp2::Create(static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(heading)));
    }
  }
  return 1;
}

int hermitshell::paint() const {
  const pf::Image& blob = assets.blobImage();
  const float t = timer;
  resetDrawState();
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.3f);
  pf::setScale(static_cast<float>(1.3 + 0.5 * Sin(t)), static_cast<float>(2.6 + 0.5 * Sin(t)));
  pf::setColour(0, 235, 249);
  pf::drawImage(blob, x2, y - 50);

  // Two interleaved spirals of dots.
  for (int i = 0; i < 100; ++i) {
    const float ax = static_cast<float>(x2 + ((i / 5) + 20 * Sin(2.1 * i)) * Sin(t + 50 * i));
    const float ay = static_cast<float>(y - i - 2 * (i / 10) * Sin(t));
    pf::setColour(255, 255, 255);
    pf::setAlpha(0.3f);
    pf::setScale(0.05f, 0.05f);
    pf::drawImage(blob, ax, ay);
    pf::setScale(0.5f, 0.7f);
    pf::setAlpha(0.07f);
    if (i % 2 == 0) {
      pf::setColour(255, 0, 0);
    } else {
      pf::setColour(255, 100, 200);
    }
    pf::drawImage(blob, ax, ay);

    const float bx = static_cast<float>(x2 + ((i / 8) + 10 * Sin(3 * i)) * Sin(-t + 150 * i));
    const float by = static_cast<float>(y - 40 - 10 * Sin(t + 90) - i - 4 * (i / 20) * Sin(t / 1.2 + 90));
    pf::setColour(255, 255, 255);
    pf::setAlpha(0.2f);
    pf::setScale(0.05f, 0.05f);
    pf::drawImage(blob, bx, by);
    pf::setScale(0.2f, 0.2f);
    pf::setAlpha(0.1f);
    if (i % 2 == 0) {
      pf::setColour(255, 255, 0);
    } else {
      pf::setColour(0, 100, 255);
    }
    pf::drawImage(blob, bx, by);
  }
  resetDrawState();
  return 0;
}
