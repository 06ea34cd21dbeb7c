#include "ship_tactics.hpp"

#include <cmath>

#include "game/game.hpp"

namespace {

struct Surroundings {
  int enemies = 0;  // creatures, not their bullets
  int close = 0;    // anything (bullets too) within reach of a shield ring
  int level = 0;    // creatures about level with the ship, off to a side
  int ahead = 0;    // creatures in the ship's column above it
  bool boss = false;
};

Surroundings survey(game& g) {
  Surroundings s;
  const float sx = g.p1->x, sy = g.p1->y;
  g.enemylist.forEach([&](enemybase& e) {
    const float dx = e.x - sx, dy = e.y - sy;
    if (std::hypot(dx, dy) < 90) ++s.close;
    if (e.isbullet == 1) return;
    ++s.enemies;
    if (e.isboss == 1) s.boss = true;
    if (std::fabs(dy) < 40 && std::fabs(dx) > 30) ++s.level;
    if (dy < 0 && std::fabs(dx) < 30) ++s.ahead;
  });
  return s;
}

}  // namespace

SpeedLimits speedLimits(const game& g) {
  switch (g.p1->playertype) {
    case 4: return {2.5f, 2.5f};
    case 5: return {1.5f, 2.5f};
    default: return {3.5f, 3.5f};
  }
}

AttackButtons chooseAttacks(game& g) {
  const Surroundings s = survey(g);
  const bool crowded = g.enemylist.size() > 12;
  AttackButtons a;
  switch (g.p1->playertype) {
    case 1:
      // Both buttons: straight shots, no lean; missiles into a crowd.
      a.fire1 = a.fire2 = true;
      a.fire3 = g.bombs > 60 && crowded;
      break;
    case 2:
      // The beams grow with the energy left, so spend it from a full bar.
      a.fire1 = true;
      a.fire3 = (crowded || s.boss) && g.bombs > 20;
      break;
    case 3:
      // The shield when something is about to touch the ship.
      a.fire1 = true;
      a.fire3 = s.close > 0 && g.bombs > 5;
      break;
    case 4:
      // Sideways when the creatures are beside the ship rather than above;
      // the whole bar goes into one fire, so only into a crowd or the boss.
      a.fire1 = s.level <= s.ahead;
      a.fire2 = !a.fire1;
      a.fire3 = (crowded || s.boss) && g.bombs >= 80;
      break;
    case 5:
      // Homing missiles; the laser for a big target straight above; the
      // multiplier while there is much to hit.
      a.fire2 = s.boss && s.ahead > 0;
      a.fire1 = !a.fire2;
      a.fire3 = (crowded || s.boss) && g.bombs > 2;
      break;
    default:
      // One button; there is no special.
      a.fire1 = true;
      break;
  }
  return a;
}
