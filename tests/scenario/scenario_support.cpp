#include "scenario_support.hpp"

#include "app/asset_loader.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game_frame.hpp"
#include "platform/platform.hpp"

std::unique_ptr<game> newRun(int ship, uint64_t seed) {
  freshHeadless(seed);
  // Decoded once per binary; other tests may have cleared them meanwhile.
  requireGameAssets();
  SeedRnd(seed);
  return game::Create(ship);
}

int runFrames(game& g, int frames) {
  int result = 0;
  for (int i = 0; i < frames && result != 1; ++i) result = playFrame(g);
  return result;
}

void skipEntry(game& g) {
  while (g.playerstarttimer <= 120) runFrames(g, 1);
}

uint64_t playState(game& g) {
  Hash h;
  for (const double v : {double(g.gametimer), double(g.score), double(g.lives), double(g.bombs), double(g.killcount),
                         double(g.p1->x), double(g.p1->y)}) {
    h.add(v);
  }
  for (const size_t n : {g.enemylist.size(), g.bulletlist.size(), g.particlelist.size(), g.explosionlist.size(),
                         g.bubblelist.size(), g.bloodlist.size(), g.firelist.size(), g.textlist.size()}) {
    h.add(static_cast<double>(n));
  }
  g.enemylist.forEach([&](enemybase& e) {
    h.add(e.x);
    h.add(e.y);
    h.add(e.collrect.x);
    h.add(e.collrect.y);
    h.add(e.energy);
  });
  for (const float phase : g.bombalpha) h.add(phase);
  return h.value();
}

Dummy* Dummy::spawn(game& g, float x, float y, float energy) {
  auto d = std::make_unique<Dummy>();
  d->x = x;
  d->y = y;
  d->energy = energy;
  d->collrect = Rect{x - d->halfSize, y - d->halfSize, 2 * d->halfSize, 2 * d->halfSize};
  return g.enemylist.add(std::move(d));
}

int Dummy::Update(playerbase&, EntityList<enemybase>&) {
  ++updates;
  collrect = Rect{x - halfSize, y - halfSize, 2 * halfSize, 2 * halfSize};
  return leaveOnUpdate;
}

int Dummy::makeexplosions(EntityList<explosionbase>& explosionlist) {
  ++explosionsMade;
  return enemybase::makeexplosions(explosionlist);
}
