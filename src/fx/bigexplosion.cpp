#include "fx/bigexplosion.hpp"

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/sound_helpers.hpp"
#include "fx/bubble.hpp"

std::unique_ptr<bigexplosion> bigexplosion::Create(float, float, int, int, int, int, float, int, float, float, int) {
  return std::make_unique<bigexplosion>();
}

int bigexplosion::Update(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) {
  timer += 1;
  if (!pointlist.empty() && timer % 2 == 0) {
    tpoint* p = pointlist.first();
    list.add(explosion::Create(p->x, p->y, 255, 255, 255, 16, 0.5f, 1, 0, 0, 0));
    bubblelist.add(bubble::Create(p->x, p->y));
    pointlist.remove(p);
    playSfx(assets.sfxZap, 0.4f, 1.0f);
  }
  list.forEach([&](explosion& e) {
    if (e.Update(bubblelist, bloodlist) == 1) list.remove(&e);
  });
  return pointlist.empty() && list.empty() ? 1 : 0;
}

int bigexplosion::paint() const {
  list.forEach([](const explosion& e) { e.paint(); });
  return 0;
}

void addChainedDeath(EntityList<explosionbase>& explosionlist, float x, float y, float stepY) {
  const int dx = Rand(-20, 20);
  const int dy = Rand(-20, 20);
  explosionlist.add(
      explosion::Create(x + static_cast<float>(dx), y + static_cast<float>(dy), 255, 255, 255, 16, 1.3f, 0, 0, 0, 0));
  auto chain = bigexplosion::Create(x, y, 255, 255, 255, 16, 0.5f, 0, 0, 0, 0);
  for (int i = 0; i < 15; ++i) {
    const int jx = Rand(-50, 50);
    const int jy = Rand(-50, 50);
    chain->pointlist.add(tpoint::Create(x + static_cast<float>(jx), y + static_cast<float>(jy) + stepY * i));
  }
  explosionlist.add(std::move(chain));
}
