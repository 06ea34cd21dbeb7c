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
