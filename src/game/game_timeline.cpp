// The level: which creatures and texts appear on which frame. With t the
// frame number, "every n" means t is a multiple of n, and a window written
// a < t < b includes neither end.
#include "enemies/boss.hpp"
#include "enemies/shrimp.hpp"
#include "enemies/starfish.hpp"
#include "enemies/yellowfish.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "game/game.hpp"
#include "platform/platform.hpp"

namespace {

bool every(int t, int n) { return t % n == 0; }

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

  if (t == 60) addText(midX, midY, 1, 1, "Level 1", 3);
  if (t == 90) addText(midX, midY + 20, 1, 2, "Neon Ocean", 3);
  if (t > 180 && t < 600 && every(t, 40)) addStarfish(enemylist, 2);
  if (t >= 600 && t < 1200 && every(t, 20)) addStarfish(enemylist, 2);
  if (t >= 1200 && t < 2200 && every(t, 30)) addStarfish(enemylist, 1.5);
  // Anemones (1900 < t < 2200 every 60, 2200 < t < 3000 every 35) plug in here
  // once the anemone swims: anenome.Create(Rand(200, 600), -10, 0).
  if (t > 3100 && t < 3900 && every(t, 5)) addShrimp(enemylist, 300, 650);
  if (t > 3900 && t < 4500 && every(t, 3)) addTwistingShrimp(enemylist);
  if (t > 4500 && t < 4800 && every(t, 10)) addTwistingShrimp(enemylist);
  // Eels (4500 < t < 5500 every 50) plug in here: eel.Create(Rand(200, 600), -30, 0)
  // with eelVelocity Rnd(-2.5, -1.5), angle2 Rand(130, 220), size Rnd(1.5, 2).
  if (t > 5500 && t < 5800 && every(t, 30)) addTwistingShrimp(enemylist);
  // Seahorses (t 5600 at (50, -50) lr 1; t 5900 at (750, -50) lr 0), jellyfish
  // (t 6500, 6600, 6800, 7300) plug in here.
  if (t > 7700 && t < 8000 && every(t, 10)) addYellowfish(enemylist, -4, -2);
  if (t > 8000 && t < 8900 && every(t, 3)) addYellowfish(enemylist, -5, -3);
  // Hermit shells (t 9000, 9300, 9800) plug in here.
  if (t == 10800) addText(400, 350, 1, 2.5f, "WARNING!", 3);
  if (t == 10850) addText(400, 350, 1, 1.7f, "BOSS APPROACHING!", 3);
  if (t == 10900 && pf::channelPlaying(assets.musicLevel.channel)) {
    pf::stopChannel(assets.musicLevel.channel);
    startMusic(assets.musicBoss);
  }
  if (t == 11100) enemylist.add(boss::Create(400, -200, 0));
  // The crab is on the list from its first frame: the level ends only once it,
  // every creature and every enemy bullet are gone.
  if (t > 11101 && enemylist.empty()) bossdead = 1;
  return 0;
}
