// The giant crab: its glide, claws, pattern cycle and phases, stepped on its
// own against a run's ship and lists, and the level's two endings with it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "enemies/boss.hpp"
#include "enemies/enemybullet.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "fx/bossexplosion.hpp"
#include "scenario_support.hpp"

namespace {

class CrabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g = newRun();
    crab = boss::Create(400, -200, 0);
  }

  int step() { return crab->Update(*g->p1, shots); }
  // Steps through the glide to the arrival frame; returns the frames taken.
  int glideIn() {
    int frames = 0;
    while (crab->moving == 1 && frames < 1000) {
      step();
      ++frames;
    }
    return frames;
  }
  // Arrived, with the pattern clock set so that the next update is
  // attacktimer `next` with the pattern running (no pause).
  void readyToFire(int pattern, int next) {
    glideIn();
    crab->attackpattern = pattern;
    crab->attacktimer = next - 1;
    crab->pausetimer = 100;
  }
  void loseClaws() {
    crab->claw1energy = 0;
    crab->claw2energy = 0;
  }
  int hit(float amount) { return crab->damage(amount, g->bubblelist, shots, g->explosionlist); }
  // The bullets one update fires.
  std::vector<enemybullet*> fire() {
    shots.clear();
    step();
    std::vector<enemybullet*> fired;
    shots.forEach([&](enemybase& e) { fired.push_back(static_cast<enemybullet*>(&e)); });
    return fired;
  }
  Rect around(float x, float y) const { return Rect{x - 1, y - 1, 2, 2}; }

  std::unique_ptr<game> g;
  std::unique_ptr<boss> crab;
  EntityList<enemybase> shots;
};

TEST_F(CrabTest, GlidesInFor339FramesAndOpensWithPatternOne) {
  EXPECT_EQ(crab->energy, 1200);
  EXPECT_EQ(crab->score, 100000);
  EXPECT_EQ(crab->isboss, 1);
  EXPECT_EQ(glideIn(), 339);
  EXPECT_GE(crab->y, 90);
  // The arrival frame is not a pause: the glide's 61 plus this frame's tick.
  EXPECT_EQ(crab->attacktimer, 0);
  EXPECT_EQ(crab->pausetimer, 62);
  EXPECT_EQ(crab->attackpattern, 1);

  // Pattern 1 runs at once: downward fans from the mouth on multiples of 13.
  int volleys = 0;
  while (crab->attacktimer < 380) {
    const std::vector<enemybullet*> fired = fire();
    if (fired.empty()) continue;
    ++volleys;
    EXPECT_EQ(crab->attacktimer % 13, 0);
    for (const enemybullet* shot : fired) {
      EXPECT_EQ(shot->y, crab->y + 70);
      EXPECT_GT(shot->angle, 0);
      EXPECT_LT(shot->angle, 180);
    }
  }
  EXPECT_GT(volleys, 10);
  EXPECT_EQ(crab->pausetimer, 0);  // the first pause
}

TEST_F(CrabTest, PhaseOneCycleHasSixtyFramePausesBetweenPatterns) {
  glideIn();
  // (attacktimer, pattern running and firing?) at the edges of the cycle.
  struct Mark {
    int attacktimer, pattern;
    bool attacking;
  };
  const Mark marks[] = {{379, 1, true},   {380, 1, false},  {440, 2, false}, {441, 2, true},
                        {759, 2, true},   {760, 2, false},  {821, 3, true},  {1201, 4, true},
                        {1579, 4, false}, {1580, 1, false}, {1581, 1, true}};
  for (const Mark& m : marks) {
    while (crab->attacktimer < m.attacktimer) step();
    EXPECT_EQ(crab->attackpattern, m.pattern) << "at " << m.attacktimer;
    EXPECT_EQ(crab->pausetimer > 60, m.attacking) << "at " << m.attacktimer;
  }
}

TEST_F(CrabTest, UntouchableWhileGlidingIn) {
  step();
  crab->hitclaw1 = 1;  // even a claw flag cannot hurt it yet
  EXPECT_EQ(hit(5), 0);
  EXPECT_EQ(crab->claw1energy, 300);
  EXPECT_EQ(crab->checkcollisions(crab->collrect), 0);
  EXPECT_EQ(crab->checkcollisions(crab->clawrect1), 0);
  EXPECT_EQ(crab->energy, 1200);
}

TEST_F(CrabTest, ClawBoxesLieBeyondTheTipsAlongTheLeftForearm) {
  readyToFire(1, 20);
  step();
  crab->updateLooks();
  // The tips from the arm angles, worked out here from the fields.
  const double t = crab->timer;
  const double fore1 = crab->arm1angle + crab->arm1angle2;
  const double fore2 = crab->arm2angle + crab->arm2angle2;
  const double elbow1x = crab->x - 40 + (70 + 10 * Cos(t)) * Cos(crab->arm1angle);
  const double elbow1y = crab->y + 65 + (70 + 10 * Sin(t)) * Sin(crab->arm1angle);
  const double elbow2x = crab->x + 40 + (70 + 10 * Cos(t)) * Cos(crab->arm2angle);
  const double elbow2y = crab->y + 65 + (70 + 10 * Sin(t)) * Sin(crab->arm2angle);
  EXPECT_NEAR(crab->claw1x, elbow1x + 50 * Cos(fore1), 1e-3);
  EXPECT_NEAR(crab->claw1y, elbow1y + 50 * Sin(fore1), 1e-3);
  EXPECT_NEAR(crab->claw2x, elbow2x + 50 * Cos(fore2), 1e-3);
  EXPECT_NEAR(crab->claw2y, elbow2y + 50 * Sin(fore2), 1e-3);
  // A claw points along its forearm.
  EXPECT_NEAR(std::remainder(crab->claw1angle - fore1, 360.0), 0, 1e-2);
  EXPECT_NEAR(std::remainder(crab->claw2angle - fore2, 360.0), 0, 1e-2);
  // Both boxes are offset along the left forearm, the right one too.
  EXPECT_NEAR(crab->clawrect1.x, crab->claw1x + 30 * Cos(fore1) - 40, 1e-3);
  EXPECT_NEAR(crab->clawrect1.y, crab->claw1y + 30 * Sin(fore1) - 40, 1e-3);
  EXPECT_NEAR(crab->clawrect2.x, crab->claw2x + 30 * Cos(fore1) - 40, 1e-3);
  EXPECT_NEAR(crab->clawrect2.y, crab->claw2y + 30 * Sin(fore1) - 40, 1e-3);
  EXPECT_EQ(crab->clawrect2.w, 80);
  EXPECT_EQ(crab->clawrect2.h, 40);
}

TEST_F(CrabTest, ClawsTakeWholePointsAndShieldTheBody) {
  readyToFire(1, 20);
  const Rect onClaw1 = around(crab->clawrect1.x + 40, crab->clawrect1.y + 20);
  const float amounts[] = {0.5f, 0.7f, 1.5f, 2};
  const int left[] = {299, 298, 296, 294};
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(crab->checkcollisions(onClaw1), 1);
    EXPECT_EQ(hit(amounts[i]), 0);
    EXPECT_EQ(crab->claw1energy, left[i]) << "after a hit of " << amounts[i];
  }
  EXPECT_EQ(crab->claw2energy, 300);
  // While a claw lives the body is no target, and a hit without a claw
  // flag (a ring touch) changes nothing.
  EXPECT_EQ(crab->checkcollisions(around(crab->x, crab->y)), 0);
  EXPECT_EQ(hit(5), 0);
  EXPECT_EQ(crab->claw1energy, 294);
  EXPECT_EQ(crab->energy, 1200);
}

TEST_F(CrabTest, ARectOverBothClawsHitsOnlyTheLeftOne) {
  readyToFire(1, 20);
  const Rect both = Rect{std::min(crab->clawrect1.x, crab->clawrect2.x) - 5, crab->y, 400, 400};
  ASSERT_EQ(overlaps(both, crab->clawrect1), 1);
  ASSERT_EQ(overlaps(both, crab->clawrect2), 1);
  EXPECT_EQ(crab->checkcollisions(both), 1);
  hit(10);
  EXPECT_EQ(crab->claw1energy, 290);
  EXPECT_EQ(crab->claw2energy, 300);
  // With the left claw gone the same rectangle reaches the right one.
  crab->claw1energy = 0;
  EXPECT_EQ(crab->checkcollisions(both), 1);
  hit(10);
  EXPECT_EQ(crab->claw2energy, 290);
}

TEST_F(CrabTest, AStaleClawFlagCannotPassALaterHitToThatClaw) {
  readyToFire(1, 20);
  // The ship's contact test touches the left claw but is not followed by damage.
  ASSERT_EQ(crab->checkcollisions(around(crab->clawrect1.x + 40, crab->clawrect1.y + 20)), 1);
  // A later test elsewhere, then a hit: only what that test touched counts.
  EXPECT_EQ(crab->checkcollisions(around(crab->x, crab->y - 200)), 0);
  hit(5);
  EXPECT_EQ(crab->claw1energy, 300);
  ASSERT_EQ(crab->checkcollisions(around(crab->clawrect2.x + 40, crab->clawrect2.y + 20)), 1);
  hit(5);
  EXPECT_EQ(crab->claw1energy, 300);
  EXPECT_EQ(crab->claw2energy, 295);
}

TEST_F(CrabTest, ADestroyedClawBurstsAndItsStumpBleeds) {
  readyToFire(1, 20);
  crab->claw1energy = 1;
  ASSERT_EQ(crab->checkcollisions(around(crab->clawrect1.x + 40, crab->clawrect1.y + 20)), 1);
  g->explosionlist.clear();
  EXPECT_EQ(hit(1), 0);  // the body still has its other claw's shield
  EXPECT_EQ(crab->claw1energy, 0);
  EXPECT_EQ(g->explosionlist.size(), 2u);  // a green burst and a chain of 50
  g->bloodlist.clear();
  crab->addeffects(g->bubblelist, g->bloodlist);
  ASSERT_EQ(g->bloodlist.size(), 1u);
  EXPECT_EQ(g->bloodlist.first()->x, crab->claw1x);
  EXPECT_EQ(g->bloodlist.first()->y, crab->claw1y);
}

TEST_F(CrabTest, BreathesOutBubblesFor59FramesOfEvery161) {
  int bubbles = 0;
  for (int frame = 0; frame < 161 * 3; ++frame) {
    step();
    g->bubblelist.clear();
    crab->addeffects(g->bubblelist, g->bloodlist);
    bubbles += static_cast<int>(g->bubblelist.size());
  }
  EXPECT_EQ(bubbles, 3 * 59);
}

TEST_F(CrabTest, PatternTwoFiresFromLivingClawsWhilePatternFourUsesBothPositions) {
  readyToFire(2, 40);
  crab->claw1energy = 0;
  std::vector<enemybullet*> fired = fire();
  ASSERT_EQ(fired.size(), 5u);
  const double headings[] = {45, 22.5, 0, -22.5, -45};
  for (size_t i = 0; i < fired.size(); ++i) {
    EXPECT_EQ(fired[i]->x, crab->claw2x);
    EXPECT_NEAR(fired[i]->angle, crab->claw2angle + headings[i], 1e-3);
    EXPECT_FLOAT_EQ(fired[i]->speed, 1.2f);
    EXPECT_EQ(fired[i]->drawtail, 0);
    EXPECT_EQ(fired[i]->g, 100);
  }

  crab->attackpattern = 4;
  crab->attacktimer = 59;
  fired = fire();  // attacktimer 60: the claw stream and a six-shot mouth fan
  ASSERT_EQ(fired.size(), 8u);
  EXPECT_EQ(fired[0]->x, crab->claw1x);  // the stump fires too
  EXPECT_EQ(fired[1]->x, crab->claw2x);
  EXPECT_EQ(fired[0]->g, 150);
  EXPECT_EQ(fired[2]->angle, 30);
  EXPECT_EQ(fired[7]->angle, 130);
  EXPECT_EQ(fired[7]->y, crab->y + 70);
}

TEST_F(CrabTest, AimedClawShotsPointAtTheShip) {
  readyToFire(3, 90);
  crab->attackmode = 1;  // the branch with the aimed shots
  g->p1->x = 300;
  g->p1->y = 500;
  std::vector<enemybullet*> fired = fire();
  ASSERT_EQ(fired.size(), 11u);  // nine from the mouth, one from each claw
  for (size_t i = 9; i < 11; ++i) {
    const double heading = ATan2(500 - fired[i]->y, 300 - fired[i]->x);
    EXPECT_NEAR(std::remainder(fired[i]->angle - heading, 360.0), 0, 1e-2);
  }
  EXPECT_EQ(crab->attackmode, 0);
}

TEST_F(CrabTest, PhaseTwoRotatesThreePatternsAndTheFrenzyStartsOnTheNextUpdate) {
  readyToFire(4, 100);
  loseClaws();
  step();
  EXPECT_EQ(crab->attackphase, 2);
  EXPECT_EQ(crab->attackpattern, 1);  // no frenzy pattern at full energy, on any frame

  ASSERT_EQ(crab->checkcollisions(crab->collrect), 1);
  EXPECT_EQ(hit(0.7f), 0);
  EXPECT_FLOAT_EQ(crab->energy, 1199.3f);

  crab->energy = 401;
  crab->attackpattern = 3;
  crab->attacktimer = 599;
  step();  // a multiple of 600 pauses; 60 frames later the rotation goes on
  EXPECT_EQ(crab->pausetimer, 0);
  for (int i = 0; i < 60; ++i) step();
  EXPECT_EQ(crab->attackpattern, 1);

  crab->checkcollisions(crab->collrect);
  hit(2);
  EXPECT_EQ(crab->attackpattern, 1);
  step();
  EXPECT_EQ(crab->attackpattern, 4);
  const std::vector<enemybullet*> fired = [&] {
    while (crab->attacktimer % 4 != 3) step();
    return fire();
  }();
  ASSERT_EQ(fired.size(), 18u);
  EXPECT_EQ(fired[0]->drawblob, 0);
  EXPECT_EQ(fired[0]->drawtail, 0);
}

TEST_F(CrabTest, TheBodyDiesOnTheHitThatEmptiesIt) {
  readyToFire(1, 20);
  loseClaws();
  crab->energy = 3;
  ASSERT_EQ(crab->checkcollisions(crab->collrect), 1);
  g->bubblelist.clear();
  EXPECT_EQ(hit(1), 0);
  EXPECT_TRUE(g->bubblelist.empty());
  EXPECT_EQ(hit(2), 1);
  EXPECT_EQ(g->bubblelist.size(), 500u);
  g->explosionlist.clear();
  crab->makeexplosions(g->explosionlist);
  ASSERT_EQ(g->explosionlist.size(), 1u);
  EXPECT_EQ(g->explosionlist.first()->isboss, 1);
}

TEST_F(CrabTest, AnUndrawnCrabPlaysLikeADrawnOne) {
  SeedRnd(3);
  auto drawn = boss::Create(400, -200, 0);
  SeedRnd(3);
  auto undrawn = boss::Create(400, -200, 0);
  EntityList<enemybase> drawnShots, undrawnShots;
  for (int frame = 0; frame < 1300; ++frame) {
    drawn->Update(*g->p1, drawnShots);
    undrawn->Update(*g->p1, undrawnShots);
    ASSERT_EQ(drawn->claw1x, undrawn->claw1x) << "frame " << frame;
    ASSERT_EQ(drawn->clawrect2.y, undrawn->clawrect2.y) << "frame " << frame;
    drawn->paint();
  }
  ASSERT_EQ(drawnShots.size(), undrawnShots.size());
  ASSERT_GT(drawnShots.size(), 0u);
  EXPECT_EQ(drawnShots.last()->x, undrawnShots.last()->x);
  EXPECT_EQ(drawnShots.last()->y, undrawnShots.last()->y);
}

// The session side: the crab joins the level and ends it one way or the other.

boss* findCrab(game& g) {
  boss* crab = nullptr;
  g.enemylist.forEach([&](enemybase& e) {
    if (e.isboss == 1) crab = static_cast<boss*>(&e);
  });
  return crab;
}

bool hasText(game& g, const std::string& message) {
  bool found = false;
  g.textlist.forEach([&](Text& t) { found |= t.message == message; });
  return found;
}

TEST(CrabInTheLevel, TouchingTheGlidingCrabCostsNoLifeButALivingClawKills) {
  auto g = newRun();
  skipEntry(*g);
  g->gametimer = 11099;
  runFrames(*g, 1);
  boss* crab = findCrab(*g);
  ASSERT_NE(crab, nullptr);
  EXPECT_EQ(g->enemylist.size(), 1u);
  while (crab->moving == 1) {
    // The ship sits right on the left claw's box.
    g->p1->x = crab->clawrect1.x + 40;
    g->p1->y = crab->clawrect1.y + 30;
    runFrames(*g, 1);
  }
  EXPECT_EQ(g->lives, 3);
  g->p1->x = crab->clawrect1.x + 40;
  g->p1->y = crab->clawrect1.y + 30;
  runFrames(*g, 1);
  EXPECT_EQ(g->lives, 2);
}

TEST(CrabInTheLevel, KillingTheCrabClearsEveryEnemyBulletAndCompletesTheLevel) {
  auto g = newRun();
  skipEntry(*g);
  g->gametimer = 11099;
  runFrames(*g, 1);
  boss* crab = findCrab(*g);
  while (crab->attacktimer < 20) runFrames(*g, 1);  // arrived, pattern 1 firing
  crab->claw1energy = 0;
  crab->claw2energy = 0;
  crab->energy = 1;
  g->enemylist.add(enemybullet::Create(300, 400, 90));
  g->p1->x = crab->x;
  g->p1->y = 500;
  g->bulletlist.add(
      bullet::Create(crab->x, crab->y, 270, 0, assets.blobImage(), 1, 4, 255, 255, 255, 1, 0.1f, 0, 0, 1));
  const int64_t before = g->score;
  runFrames(*g, 1);
  EXPECT_TRUE(g->enemylist.empty());
  EXPECT_EQ(g->killcount, 1);
  EXPECT_GE(g->score - before, 100000);
  int bossExplosions = 0;
  g->explosionlist.forEach([&](explosionbase& e) { bossExplosions += e.isboss; });
  EXPECT_EQ(bossExplosions, 1);

  runFrames(*g, 1);
  ASSERT_EQ(g->bossdead, 1);
  EXPECT_EQ(g->timeup, 0);
  const int left = g->bosstimer;
  EXPECT_LT(left, 100);  // the clock ran during the fight
  g->multiplier = 1;
  while (g->bossdeadtimer < 200) runFrames(*g, 1);
  EXPECT_TRUE(hasText(*g, "LEVEL COMPLETE!"));
  while (g->bossdeadtimer < 499) runFrames(*g, 1);
  const int64_t beforeTime = g->score;
  runFrames(*g, 1);
  EXPECT_EQ(g->score - beforeTime, left * 1000);
  EXPECT_EQ(g->bosstimer, left);  // the clock stopped with the crab
  while (runFrames(*g, 1) == 0) {
  }
  EXPECT_EQ(g->gamecompleted, 1);
  EXPECT_EQ(g->gamefailed, 0);
}

TEST(CrabInTheLevel, AWholeRunWithoutInputAndAnUnhittableShipEndsInLevelFailed) {
  auto g = newRun(1, 4);
  skipEntry(*g);
  int result = 0;
  while (result == 0 && g->gametimer < 20000) {
    // Back in the invincible part of the entry every frame: never hit.
    g->playerstarttimer = 100;
    result = runFrames(*g, 1);
    if (g->gametimer == 11100) {
      ASSERT_NE(findCrab(*g), nullptr);
    }
    if (g->bossdeadtimer == 200) {
      EXPECT_TRUE(hasText(*g, "Time up!"));
    }
    if (g->bossdeadtimer == 350) {
      EXPECT_TRUE(hasText(*g, "Level Failed"));
    }
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(g->lives, 3);
  EXPECT_EQ(g->timeup, 1);
  EXPECT_EQ(g->gamefailed, 1);
  EXPECT_EQ(g->gamecompleted, 0);
  EXPECT_EQ(g->bosstimer, 0);
  // 100 seconds of boss clock from frame 11101.
  EXPECT_GT(g->gametimer, 11100 + 6000);
}

}  // namespace
