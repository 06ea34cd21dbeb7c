#include "enemies/enemybase.hpp"

#include "essentials/math.hpp"
#include "fx/bubble.hpp"
#include "fx/explosion.hpp"

enemybase::~enemybase() = default;

int enemybase::checkcollisions(const Rect& r) { return overlaps(collrect, r); }

int enemybase::addeffects(EntityList<bubble>&, EntityList<blood>&) { return 0; }

int enemybase::makeexplosions(EntityList<explosionbase>& explosionlist) {
  // Projectiles die in a small burst without the glow blob.
  const int mini = isbullet == 1 ? 1 : 0;
  explosion* burst = explosionlist.add(explosion::Create(x, y, 255, 255, 255, 16, 0.5f, mini, 0, 0, 0));
  if (isbullet == 1) burst->drawblob = 0;
  return 0;
}

int enemybase::damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>&,
                      EntityList<explosionbase>&) {
  energy -= amount;
  return releaseBubblesIfDead(bubblelist);
}

int enemybase::dodge(EntityList<enemybase>&) { return 0; }

int enemybase::releaseBubblesIfDead(EntityList<bubble>& bubblelist) {
  if (energy > 0) return 0;
  for (int i = 0; i < 20; ++i) releaseDeathBubble(bubblelist, x - 20, x + 20, y - 20, y + 20);
  return 1;
}

void enemybase::releaseDeathBubble(EntityList<bubble>& bubblelist, float left, float right, float top, float bottom) {
  // Named draws keep the order of the random numbers fixed: x, y, the
  // bubble's own, then its life.
  const int bx = Rand(static_cast<int>(left), static_cast<int>(right));
  const int by = Rand(static_cast<int>(top), static_cast<int>(bottom));
  bubble* b = bubblelist.add(bubble::Create(static_cast<float>(bx), static_cast<float>(by)));
  b->life = static_cast<float>(Rnd(1, 2));
}
