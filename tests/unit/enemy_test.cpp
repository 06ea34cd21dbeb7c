#include <gtest/gtest.h>

#include <cmath>

#include "enemies/enemybullet.hpp"
#include "enemies/shrimp.hpp"
#include "enemies/starfish.hpp"
#include "enemies/yellowfish.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/blood.hpp"
#include "fx/bubble.hpp"
#include "fx/explosion.hpp"
#include "platform/platform.hpp"
#include "ships/playerbase.hpp"
#include "test_support.hpp"

namespace {

class StillShip : public playerbase {
 public:
  int Update(float, float, float, EntityList<bubble>&) override { return 0; }
  int paint() const override { return 0; }
};

class EnemyTest : public GlowSpriteTest {
 protected:
  EnemyTest() : GlowSpriteTest(7) {}

  int hit(enemybase& e, float amount) { return e.damage(amount, bubbles, enemies, explosions); }
  int step(enemybase& e) { return e.Update(ship, enemies); }
  explosion& explodeOnce(enemybase& e) {
    e.makeexplosions(explosions);
    EXPECT_EQ(explosions.size(), 1u);
    return static_cast<explosion&>(*explosions.last());
  }

  StillShip ship;
  EntityList<enemybase> enemies;
  EntityList<bubble> bubbles;
  EntityList<blood> bloods;
  EntityList<explosionbase> explosions;
};

TEST_F(EnemyTest, DefaultDamageKillsAtZeroAndKeepsReportingDeath) {
  auto star = starfish::Create(300.7f, -40.5f, 0);
  EXPECT_EQ(star->attackable, 5);
  EXPECT_EQ(star->isbullet, 0);

  EXPECT_EQ(hit(*star, 0.5f), 0);
  EXPECT_FLOAT_EQ(star->energy, 0.5f);
  EXPECT_TRUE(bubbles.empty());

  EXPECT_EQ(hit(*star, 0.5f), 1);
  ASSERT_EQ(bubbles.size(), 20u);
  // Whole-pixel points inside the truncated box (280..320, -60..-20).
  bubbles.forEach([](bubble& b) {
    EXPECT_EQ(b.x, std::trunc(b.x));
    EXPECT_GE(b.x, 280);
    EXPECT_LE(b.x, 320);
    EXPECT_GE(b.y, -60);
    EXPECT_LE(b.y, -20);
    EXPECT_GE(b.life, 1);
    EXPECT_LT(b.life, 2);
  });

  EXPECT_EQ(hit(*star, 0.1f), 1);

  auto fresh = starfish::Create(0, 0, 0);
  EXPECT_EQ(hit(*fresh, 1), 1);
}

TEST_F(EnemyTest, CreatureExplodesWithGlowBulletWithout) {
  auto star = starfish::Create(200, 100, 0);
  explosion& big = explodeOnce(*star);
  EXPECT_EQ(big.mini, 0);
  EXPECT_EQ(big.drawblob, 1);

  explosions.clear();
  auto shot = enemybullet::Create(200, 100, 90);
  explosion& small = explodeOnce(*shot);
  EXPECT_EQ(small.mini, 1);
  EXPECT_EQ(small.drawblob, 0);
  EXPECT_EQ(small.x, 200);
}

TEST_F(EnemyTest, BulletIgnoresWeakHitsAndDiesToFire) {
  auto shot = enemybullet::Create(400, 300, 90);
  EXPECT_EQ(shot->isbullet, 1);
  EXPECT_EQ(hit(*shot, 0.5f), 0);
  EXPECT_EQ(hit(*shot, 1), 0);
  EXPECT_FLOAT_EQ(shot->energy, 1);
  EXPECT_TRUE(bubbles.empty());
  EXPECT_EQ(hit(*shot, 5), 1);
  EXPECT_EQ(bubbles.size(), 20u);
}

TEST_F(EnemyTest, BulletHitBoxShrinksOnlyWithoutBlobAndTail) {
  auto sizeAfterStep = [&](int drawblob, int drawtail) {
    auto shot = enemybullet::Create(400, 300, 90);
    shot->drawblob = drawblob;
    shot->drawtail = drawtail;
    EXPECT_EQ(step(*shot), 0);
    EXPECT_FLOAT_EQ(shot->collrect.x, shot->x - shot->collrect.w / 2);
    return shot->collrect.w;
  };
  EXPECT_EQ(sizeAfterStep(1, 1), 8);
  EXPECT_EQ(sizeAfterStep(0, 1), 8);
  EXPECT_EQ(sizeAfterStep(1, 0), 8);
  EXPECT_EQ(sizeAfterStep(0, 0), 4);
}

TEST_F(EnemyTest, BulletLeavesSidewaysAtTheBandEdges) {
  auto right = enemybullet::Create(694, 300, 0);
  EXPECT_EQ(step(*right), 0);  // 697
  EXPECT_EQ(step(*right), 0);  // 700 exactly is still in
  EXPECT_EQ(step(*right), 1);  // 703

  auto left = enemybullet::Create(106, 300, 180);
  EXPECT_EQ(step(*left), 0);
  EXPECT_EQ(step(*left), 0);
  EXPECT_EQ(step(*left), 1);

  // Not before the screen's bottom margin either.
  auto down = enemybullet::Create(400, 617, 90);
  EXPECT_EQ(step(*down), 0);  // 620
  EXPECT_EQ(step(*down), 1);  // 623
}

TEST_F(EnemyTest, UntunedStarfishOnlySpinsAndKeepsItsHitBox) {
  auto star = starfish::Create(300, 40, 0);
  star->size = 3;
  const float startAngle = star->angle;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(step(*star), 0);
  EXPECT_EQ(star->x, 300);
  EXPECT_EQ(star->y, 40);
  EXPECT_FLOAT_EQ(star->angle, startAngle + 10);
  EXPECT_EQ(star->collrect.x, 290);
  EXPECT_EQ(star->collrect.y, 30);
  EXPECT_EQ(star->collrect.w, 20);
  EXPECT_EQ(star->collrect.h, 20);
}

// A still shrimp of size 4 heading up, so the body trails above the head:
// segment i lies 20 i pixels above (400, 300), wiggled up to 4 pixels.
class StillShrimpTest : public EnemyTest {
 protected:
  void SetUp() override {
    EnemyTest::SetUp();
    prawn = shrimp::Create(400, 300, 180);
    prawn->size = 4;
    prawn->twist = 0;
  }
  std::unique_ptr<shrimp> prawn;
};

TEST_F(StillShrimpTest, IsHitThroughItsSegmentsNotItsCollrect) {
  // Laid out at creation already, before any Update.
  EXPECT_EQ(prawn->checkcollisions(Rect::Create(399, 279, 2, 2)), 1);

  step(*prawn);
  EXPECT_EQ(prawn->checkcollisions(Rect::Create(399, 223, 2, 2)), 1);  // tail near (400, 224)
  // Inside collrect, but the head's square spans y 299..309.
  const Rect besideHead = Rect::Create(398, 296, 2, 2);
  EXPECT_EQ(overlaps(prawn->collrect, besideHead), 1);
  EXPECT_EQ(prawn->checkcollisions(besideHead), 0);
}

TEST_F(StillShrimpTest, StandsStillButWiggles) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(step(*prawn), 0);
  EXPECT_EQ(prawn->x, 400);
  EXPECT_EQ(prawn->y, 300);
  for (int i = 0; i < shrimp::kSegments; ++i) EXPECT_FLOAT_EQ(prawn->angle[i], 90 * i + 3);
}

TEST_F(EnemyTest, YellowfishDrawsItsOwnValuesInFieldOrderAndLeavesBelowTheScreen) {
  SeedRnd(11);
  const int heading = Rand(0, 359);
  const int timer = Rand(0, 359);
  const double cruise = Rnd(1.5, 3);
  SeedRnd(11);
  auto fish = yellowfish::Create(400, 590, 0);
  EXPECT_EQ(fish->angle2, heading);
  EXPECT_EQ(fish->timer, timer);
  EXPECT_FLOAT_EQ(fish->rnum, static_cast<float>(cruise));
  EXPECT_EQ(fish->energy, 2);

  const float limit = static_cast<float>(settings.screenheight + 20);
  int frames = 0;
  while (step(*fish) == 0) {
    EXPECT_LE(fish->y, limit);
    ASSERT_LT(++frames, 200);
  }
  EXPECT_GT(fish->y, limit);
}

TEST_F(EnemyTest, BulletGlowFollowsDrawblob) {
  auto imagesDrawn = [&](int drawblob) {
    auto shot = enemybullet::Create(400, 300, 90);
    shot->drawblob = drawblob;
    shot->drawtail = 0;
    step(*shot);
    display->clearCalls();
    display->setRecording(true);
    shot->paint();
    display->setRecording(false);
    int n = 0;
    for (const pf::DrawCall& c : display->calls()) n += c.kind == pf::DrawCall::Kind::Image ? 1 : 0;
    return n;
  };
  EXPECT_EQ(imagesDrawn(1), 5);  // glow, core, three sparks
  EXPECT_EQ(imagesDrawn(0), 4);
}

}  // namespace
