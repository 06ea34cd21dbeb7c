// The creatures in a run: where the level puts them, how the session's passes
// treat them, the invulnerable ship of the simulator, and a stretch of the
// level that must keep every enemy on finite numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "enemies/anenome.hpp"
#include "enemies/eel.hpp"
#include "enemies/enemybullet.hpp"
#include "enemies/hermitshell.hpp"
#include "enemies/jellyfish.hpp"
#include "enemies/seahorse.hpp"
#include "enemies/shrimp2.hpp"
#include "essentials/assets.hpp"
#include "scenario_support.hpp"
#include "ships/powerring.hpp"

namespace {

bullet* addStillBullet(game& g, float x, float y) {
  return g.bulletlist.add(bullet::Create(x, y, 270, 0, assets.blobImage(), 1, 4, 255, 255, 255, 1, 0.1f, 0, 0, 1));
}

// What the timeline appends on frame t.
std::vector<enemybase*> spawnedAt(game& g, int t) {
  std::vector<enemybase*> before;
  g.enemylist.forEach([&](enemybase& e) { before.push_back(&e); });
  g.gametimer = t;
  g.enemydata();
  std::vector<enemybase*> added;
  size_t i = 0;
  g.enemylist.forEach([&](enemybase& e) {
    if (i++ >= before.size()) added.push_back(&e);
  });
  return added;
}

template <class T>
T* as(enemybase* e) {
  auto* t = dynamic_cast<T*>(e);
  EXPECT_NE(t, nullptr);
  return t;
}

template <class T>
int count(game& g) {
  int n = 0;
  g.enemylist.forEach([&](enemybase& e) { n += dynamic_cast<T*>(&e) != nullptr ? 1 : 0; });
  return n;
}

}  // namespace

TEST(CreatureTimeline, AnemonesAndEelsInTheirWindows) {
  auto g = newRun();
  EXPECT_TRUE(spawnedAt(*g, 1900).empty());
  auto first = spawnedAt(*g, 1920);
  ASSERT_EQ(first.size(), 2u);  // after the starfish of the earlier row
  auto* a = as<anenome>(first[1]);
  EXPECT_EQ(a->y, -10);
  EXPECT_GE(a->x, 200);
  EXPECT_LE(a->x, 600);
  EXPECT_EQ(spawnedAt(*g, 2205).size(), 1u);
  EXPECT_TRUE(spawnedAt(*g, 3010).empty());  // the water is empty from 3000 to 3100

  auto eels = spawnedAt(*g, 4550);
  ASSERT_EQ(eels.size(), 2u);  // with a twisting shrimp, which comes first
  auto* e = as<eel>(eels[1]);
  EXPECT_EQ(e->y, -30);
  EXPECT_GE(e->eelVelocity, -2.5f);
  EXPECT_LT(e->eelVelocity, -1.5f);
  EXPECT_GE(e->angle2, 130);
  EXPECT_LE(e->angle2, 220);
  EXPECT_GE(e->size, 1.5f);
  EXPECT_LT(e->size, 2);
  EXPECT_TRUE(spawnedAt(*g, 5500).empty());
}

TEST(CreatureTimeline, SeahorsesJellyfishAndShellsInTableOrder) {
  auto g = newRun();
  auto* right = as<seahorse>(spawnedAt(*g, 5600).at(0));
  EXPECT_EQ(right->x, 50);
  EXPECT_EQ(right->y, -50);
  EXPECT_EQ(right->lr, 1);
  auto five = spawnedAt(*g, 5900);
  ASSERT_EQ(five.size(), 1u);
  EXPECT_EQ(as<seahorse>(five[0])->lr, 0);

  struct Jelly {
    int frame;
    float x, y, xvel, yvel;
  };
  const Jelly jellies[] = {{6500, 50, 250, 0.4f, -0.3f},  {6600, 750, 250, -0.4f, -0.3f},
                           {6800, 200, -100, 0.2f, 0.5f}, {6800, 600, -140, -0.2f, 0.5f},
                           {7300, 300, -100, 0.1f, 0.8f}, {7300, 500, -140, -0.1f, 0.8f}};
  std::vector<enemybase*> made;
  for (int frame : {6500, 6600, 6800, 7300}) {
    for (enemybase* e : spawnedAt(*g, frame)) made.push_back(e);
  }
  ASSERT_EQ(made.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    auto* j = as<jellyfish>(made[i]);
    EXPECT_EQ(j->x, jellies[i].x) << i;
    EXPECT_EQ(j->y, jellies[i].y) << i;
    EXPECT_EQ(j->xvel, jellies[i].xvel) << i;
    EXPECT_EQ(j->yvel, jellies[i].yvel) << i;
  }

  std::vector<std::pair<float, float>> shells;
  for (int frame : {9000, 9300, 9800}) {
    for (enemybase* e : spawnedAt(*g, frame)) shells.emplace_back(as<hermitshell>(e)->x, e->y);
  }
  const std::vector<std::pair<float, float>> expected = {{400, -10}, {250, -10},  {550, -10},
                                                         {400, -10}, {300, -120}, {500, -120}};
  EXPECT_EQ(shells, expected);
}

TEST(CreaturePasses, ThePowerRingNeverHurtsAnEelButBulletsDo) {
  auto g = newRun();
  g->invulnerable = true;
  skipEntry(*g);
  g->enemylist.clear();
  auto* e = g->enemylist.add(eel::Create(g->p1->x, g->p1->y - 20, 0));
  e->twist2 = 0;
  g->powerringlist.add(powerring::Create(g->p1->x, g->p1->y));
  runFrames(*g, 3);
  EXPECT_EQ(e->energy, 15);
  EXPECT_EQ(g->lives, 3);  // the eel lies on the invulnerable ship
  addStillBullet(*g, e->tail[3]->x, e->tail[3]->y);
  runFrames(*g, 1);
  EXPECT_EQ(e->energy, 14);
}

TEST(CreaturePasses, AJellyfishCanBeShotAboveTheTopAndEveryKillCounts) {
  auto g = newRun();
  skipEntry(*g);
  g->enemylist.clear();
  auto* high = g->enemylist.add(jellyfish::Create(300, -20, 0));
  addStillBullet(*g, 300, -20);
  runFrames(*g, 1);
  EXPECT_EQ(high->energy, 49);

  // Killed by the power ring, it still counts against the jelly achievement.
  auto* ringed = g->enemylist.add(jellyfish::Create(g->p1->x, g->p1->y - 60, 0));
  ringed->energy = 0.5f;
  g->powerringlist.add(powerring::Create(g->p1->x, g->p1->y));
  const int kills = g->killcount;
  runFrames(*g, 1);
  EXPECT_FALSE(g->enemylist.any([&](enemybase& e) { return &e == ringed; }));
  EXPECT_EQ(g->jellycount, 1);
  EXPECT_EQ(g->killcount, kills + 1);
}

TEST(CreaturePasses, ManyHitsInOneFrameReleaseOneBroodFromAShell) {
  auto g = newRun();
  skipEntry(*g);
  g->enemylist.clear();
  auto* shell = g->enemylist.add(hermitshell::Create(400, 200, 0));
  shell->energy = 1;
  for (int i = 0; i < 6; ++i) addStillBullet(*g, 400, 150);
  const int kills = g->killcount;
  runFrames(*g, 1);
  EXPECT_EQ(count<shrimp2>(*g), 50);
  // Every hit on the dead shell is booked as a kill, as for any enemy.
  EXPECT_EQ(g->killcount, kills + 6);
  EXPECT_FALSE(g->enemylist.any([&](enemybase& e) { return &e == shell; }));
}

TEST(CreaturePasses, TheInvulnerableShipTakesContactAndBulletsWithoutLosingALife) {
  auto g = newRun();
  g->invulnerable = true;
  skipEntry(*g);
  Dummy::spawn(*g, g->p1->x, g->p1->y - 10)->halfSize = 40;
  for (int i = 0; i < 5; ++i) g->enemylist.add(enemybullet::Create(g->p1->x, g->p1->y - 5, 90));
  runFrames(*g, 200);
  EXPECT_EQ(g->lives, 3);
  EXPECT_EQ(g->playerinvincible, 0);
}

TEST(CreatureLevel, EverySwimmerStaysOnFiniteNumbers) {
  // From the anemones to the last jellyfish, with the ship left alone.
  auto g = newRun(1, 4);
  g->invulnerable = true;
  g->gametimer = 1850;
  const Rect farAway{-1e7f, -1e7f, 1, 1};
  while (g->gametimer < 7800) {
    runFrames(*g, 1);
    g->enemylist.forEach([&](enemybase& e) {
      ASSERT_TRUE(std::isfinite(e.x) && std::isfinite(e.y)) << "frame " << g->gametimer;
      ASSERT_TRUE(std::isfinite(e.collrect.x) && std::isfinite(e.collrect.y)) << "frame " << g->gametimer;
      // A NaN anywhere in a segmented body makes it touch any rectangle.
      ASSERT_EQ(e.checkcollisions(farAway), 0) << "frame " << g->gametimer;
    });
  }
}
