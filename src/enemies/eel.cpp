#include "enemies/eel.hpp"

#include "enemies/enemybullet.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bigexplosion.hpp"
#include "fx/bubble.hpp"
#include "fx/explosion.hpp"
#include "platform/platform.hpp"

eel::eel() : timer(Rand(0, 359)), twist(Rand(0, 1)), twist2(Rand(0, 1)), attack(Rand(0, 150)) {}
eel::~eel() = default;

std::unique_ptr<eel> eel::Create(float x, float y, float third) {
  auto e = std::make_unique<eel>();
  e->x = x;
  e->y = y;
  // The power ring and the shrimp's shoving test collrect: they never meet an eel.
  e->collrect = Rect::Create(0, 0, 0, 0);
  e->angle2 = third;
  e->energy = 15;
  e->score = 100;
  // The whole body starts on the head and unrolls as the links are pulled apart.
  for (int i = 0; i < kLinks; ++i) {
    e->angle[static_cast<size_t>(i)] = static_cast<float>(30 * i);
    e->tail[static_cast<size_t>(i)] = TailPoint::Create(x, y, 255, 255, 255);
  }
  return e;
}

int eel::Update(playerbase&, EntityList<enemybase>& enemylist) {
  timer = static_cast<int>(static_cast<float>(timer) + eelVelocity);
  // The tangent sweeps through its poles, so the heading whips round every
  // half turn of the phase. At a pole the C library's tangent is huge but
  // finite, and so is every position that follows from it.
  const double whip = 60 * Tan(timer);
  angle2 = static_cast<float>(twist == 0 ? 180 + whip : 180 - whip);
  y += static_cast<float>(eelVelocity * size * Cos(angle2));
  x += static_cast<float>(eelVelocity * size * Sin(angle2));
  if (twist2 == 1) y += 1;

  float leaderX = x, leaderY = y;
  for (auto& link : tail) {
    link->Update(leaderX, leaderY);
    leaderX = link->x;
    leaderY = link->y;
  }

  // A volley: one bullet every other frame in which the counter is past 200
  // and the eel is above y 400, eight in all at 45-degree steps.
  attack += 1;
  if (attack > 200 && attack % 2 == 0 && y < 400) {
    enemybullet* shot = enemylist.add(enemybullet::Create(x, y, static_cast<float>(45 * attackangle)));
    shot->r = 255;
    shot->g = 0;
    shot->b = 0;
    attackangle += 1;
    if (attackangle == 8) {
      attack = 0;
      attackangle = 0;
    }
  }
  if (y > settings.screenheight + 100) return 1;
  return 0;
}

int eel::checkcollisions(const Rect& r) {
  for (const auto& link : tail) {
    if (overlaps(Rect::Create(link->x - 5, link->y - 5, 10, 10), r)) return 1;
  }
  return 0;
}

int eel::addeffects(EntityList<bubble>& bubblelist, EntityList<blood>&) {
  if (timer % 12 == 0) bubblelist.add(bubble::Create(x, y));
  return 0;
}

int eel::damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>&, EntityList<explosionbase>&) {
  energy -= amount;
  if (energy > 0) return 0;
  for (int i = 0; i < 5; ++i) {
    const TailPoint& link = *tail[static_cast<size_t>(i)];
    for (int k = 0; k < 15; ++k) releaseDeathBubble(bubblelist, link.x - 20, link.x + 20, link.y - 20, link.y + 20);
  }
  return 1;
}

int eel::makeexplosions(EntityList<explosionbase>& explosionlist) {
  for (const auto& link : tail) {
    explosionlist.add(explosion::Create(link->x, link->y, 255, 0, 0, 16, 0.4f, 1, 0, 0, 0));
  }
  // A chain of bursts running down the body, one link at a time.
  auto chain = bigexplosion::Create(0, 0, 0, 0, 0, 16, 0.5f, 0, 0, 0, 0);
  for (const auto& link : tail) chain->pointlist.add(tpoint::Create(link->x, link->y));
  explosionlist.add(std::move(chain));
  return 0;
}

int eel::paint() const {
  const pf::Image& blob = assets.blobImage();
  const float s = size;
  pf::setBlend(pf::kBlendLight);
  for (int i = 0; i < kLinks; ++i) {
    const TailPoint& link = *tail[static_cast<size_t>(i)];
    pf::setAlpha(0.55f);
    const float scale = (i == 4 ? 0.2f : 0.3f) * s;
    pf::setScale(scale, scale);
    if (i == 0) {
      pf::setColour(255, 0, 0);
    } else if (i % 2 == 0) {
      pf::setColour(200, 200, 0);
    } else {
      pf::setColour(255, 100, 0);
    }
    pf::drawImage(blob, link.x2, link.y2);
    pf::setColour(255, 255, 255);
    pf::setScale(0.05f * s, 0.05f * s);
    pf::setAlpha(0.8f);
    pf::drawImage(blob, link.x2, link.y2);
  }
  // Tail fin along the last links.
  const TailPoint& fin = *tail[14];
  const TailPoint& base = *tail[10];
  pf::setColour(255, 100, 0);
  pf::setAlpha(1);
  pf::setScale(0.05f * s, 0.5f * s);
  pf::setRotation(angleTo(base.x, base.y, fin.x, fin.y));
  pf::drawImage(blob, fin.x, fin.y);
  // The draw state is left as it stands; the next painter sets its own.
  return 0;
}
