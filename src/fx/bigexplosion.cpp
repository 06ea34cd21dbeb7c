#include "fx/bigexplosion.hpp"

#include "essentials/assets.hpp"
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
