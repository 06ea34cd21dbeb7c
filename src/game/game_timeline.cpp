// The level's timeline: which creatures and texts appear on which frame.
// With t the frame number, a window written a < t < b includes neither end.
#include "enemies/anenome.hpp"
#include "enemies/boss.hpp"
#include "enemies/eel.hpp"
#include "enemies/hermitshell.hpp"
#include "enemies/jellyfish.hpp"
#include "enemies/seahorse.hpp"
#include "enemies/shrimp.hpp"
#include "enemies/starfish.hpp"
#include "enemies/yellowfish.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "game/game.hpp"
#include "game/level.hpp"
#include "platform/platform.hpp"

namespace {

void addStarfish(EntityList<enemybase>& enemies, double maxSize) {
  const int x = Rand(300, 500);
  starfish* s = enemies.add(starfish::Create(static_cast<float>(x), -30, 0));
  s->nodeSize = 0.11f;
  s->glowSize = 0.5f;
  s->xVel = 1.2f;
  s->yVel = static_cast<float>(1 + Rnd(0.1, 0.5));
  s->size = static_cast<float>(Rnd(1, maxSize));
  s->energy = s->size;
}

shrimp* addShrimp(EntityList<enemybase>& enemies, int minX, int maxX) {
  const int x = Rand(minX, maxX);
  shrimp* s = enemies.add(shrimp::Create(static_cast<float>(x), -30, 0));
  s->shrimpVelocity = static_cast<float>(Rnd(-3.5, -1.5));
  s->angle2 = static_cast<float>(Rand(160, 200));
  s->size = static_cast<float>(Rnd(0.75, 1.5));
  return s;
}

void addTwistingShrimp(EntityList<enemybase>& enemies) { addShrimp(enemies, 200, 600)->twist = 3; }

void addAnemone(EntityList<enemybase>& enemies) {
  const int x = Rand(200, 600);
  enemies.add(anenome::Create(static_cast<float>(x), -10, 0));
}

void addEel(EntityList<enemybase>& enemies) {
  const int x = Rand(200, 600);
  eel* e = enemies.add(eel::Create(static_cast<float>(x), -30, 0));
  e->eelVelocity = static_cast<float>(Rnd(-2.5, -1.5));
  e->angle2 = static_cast<float>(Rand(130, 220));
  e->size = static_cast<float>(Rnd(1.5, 2));
}

void addSeahorse(EntityList<enemybase>& enemies, float x, int lr) { enemies.add(seahorse::Create(x, -50, 0))->lr = lr; }

void addJellyfish(EntityList<enemybase>& enemies, float x, float y, float xvel, float yvel) {
  jellyfish* j = enemies.add(jellyfish::Create(x, y, 0));
  j->xvel = xvel;
  j->yvel = yvel;
}

void addHermitShell(EntityList<enemybase>& enemies, float x, float y) { enemies.add(hermitshell::Create(x, y, 0)); }

void addYellowfish(EntityList<enemybase>& enemies, double slowest, double fastest) {
  const int x = Rand(200, 600);
  yellowfish* f = enemies.add(yellowfish::Create(static_cast<float>(x), -20, 0));
  f->vel = static_cast<float>(Rnd(slowest, fastest));
}

}  // namespace

int game::enemydata() {
  const int t = gametimer;
  const float midX = static_cast<float>(settings.screenwidth / 2);
  const float midY = static_cast<float>(settings.screenheight / 2);

  const LevelRecord& level = kNeonOcean;
  if (t == level.titleFrame) addText(midX, midY, 1, 1, level.title, 3);
  if (t == level.subtitleFrame) addText(midX, midY + 20, 1, 2, level.subtitle, 3);
  if (t > 180 && t < 600 && every(t, 40)) addStarfish(enemylist, 2);
  if (t >= 600 && t < 1200 && every(t, 20)) addStarfish(enemylist, 2);
  if (t >= 1200 && t < 2200 && every(t, 30)) addStarfish(enemylist, 1.5);
  if (t > 1900 && t < 2200 && every(t, 60)) addAnemone(enemylist);
  if (t > 2200 && t < 3000 && every(t, 35)) addAnemone(enemylist);
  if (t > 3100 && t < 3900 && every(t, 5)) addShrimp(enemylist, 300, 650);
  if (t > 3900 && t < 4500 && every(t, 3)) addTwistingShrimp(enemylist);
  if (t > 4500 && t < 4800 && every(t, 10)) addTwistingShrimp(enemylist);
  if (t > 4500 && t < 5500 && every(t, 50)) addEel(enemylist);
  if (t > 5500 && t < 5800 && every(t, 30)) addTwistingShrimp(enemylist);
  if (t == 5600) addSeahorse(enemylist, 50, 1);
  if (t == 5900) addSeahorse(enemylist, 750, 0);
  if (t == 6500) addJellyfish(enemylist, 50, 250, 0.4f, -0.3f);
  if (t == 6600) addJellyfish(enemylist, 750, 250, -0.4f, -0.3f);
  if (t == 6800) {
    addJellyfish(enemylist, 200, -100, 0.2f, 0.5f);
    addJellyfish(enemylist, 600, -140, -0.2f, 0.5f);
  }
  if (t == 7300) {
    addJellyfish(enemylist, 300, -100, 0.1f, 0.8f);
    addJellyfish(enemylist, 500, -140, -0.1f, 0.8f);
  }
  if (t > 7700 && t < 8000 && every(t, 10)) addYellowfish(enemylist, -4, -2);
  if (t > 8000 && t < 8900 && every(t, 3)) addYellowfish(enemylist, -5, -3);
  if (t == 9000) addHermitShell(enemylist, 400, -10);
  if (t == 9300) {
    addHermitShell(enemylist, 250, -10);
    addHermitShell(enemylist, 550, -10);
  }
  if (t == 9800) {
    addHermitShell(enemylist, 400, -10);
    addHermitShell(enemylist, 300, -120);
    addHermitShell(enemylist, 500, -120);
  }
  if (t == level.warningFrame) addText(400, 350, 1, 2.5f, "WARNING!", 3);
  if (t == level.approachFrame) addText(400, 350, 1, 1.7f, "BOSS APPROACHING!", 3);
  if (t == level.bossMusicFrame && pf::channelPlaying((assets.*level.music).channel)) {
    pf::stopChannel((assets.*level.music).channel);
    startMusic(assets.*level.bossMusic);
  }
  if (t == level.bossArrival) enemylist.add(boss::Create(400, -200, 0));
  // The crab is on the list from its first frame: the level ends only once it,
  // every creature and every enemy bullet are gone.
  if (t > level.bossArrival + 1 && enemylist.empty()) bossdead = 1;
  return 0;
}
