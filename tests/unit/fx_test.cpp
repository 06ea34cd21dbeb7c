#include <gtest/gtest.h>

#include <utility>

#include "essentials/assets.hpp"
#include "essentials/entity_list.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bigexplosion.hpp"
#include "fx/blood.hpp"
#include "fx/bossexplosion.hpp"
#include "fx/bubble.hpp"
#include "fx/explosion.hpp"
#include "fx/plankton.hpp"
#include "fx/text.hpp"
#include "platform/platform.hpp"
#include "test_support.hpp"

namespace {

class FxTest : public GlowSpriteTest {
 protected:
  FxTest() : GlowSpriteTest(7) {}

  template <class F>
  int updatesUntilDone(F&& update, int limit = 2000) {
    for (int n = 1; n <= limit; ++n) {
      if (update() == 1) return n;
    }
    return -1;
  }

  EntityList<bubble> bubbles;
  EntityList<blood> bloods;
};

TEST_F(FxTest, ExplosionSparksDrawTheirRandomValuesInOrder) {
  SeedRnd(42);
  auto e = explosion::Create(100, 200, 10, 20, 30, 16, 2.0f, 0, 0, 0, 0);
  SeedRnd(42);
  const int timer = Rand(0, 359);
  const float angle = static_cast<float>(Rand(0, 359));
  const float speed = static_cast<float>(Rnd(2, 8));
  const float scale = static_cast<float>(Rnd(0.1, 2.0));
  const float rot = static_cast<float>(Rnd(-2, 2));
  const float secondAngle = static_cast<float>(Rand(0, 359));

  EXPECT_EQ(e->timer, timer);
  glsprite* first = e->sparks().first();
  EXPECT_EQ(first->angle, angle);
  EXPECT_EQ(first->speed, speed);
  EXPECT_EQ(first->xscale, scale);
  EXPECT_EQ(first->yscale, scale);
  EXPECT_EQ(first->rot, rot);
  EXPECT_EQ(first->r, 10);
  EXPECT_EQ(first->oldx, 100);
  bool sawSecond = false;
  e->sparks().forEach([&](glsprite& s) {
    if (&s != first && !sawSecond) {
      EXPECT_EQ(s.angle, secondAngle);
      sawSecond = true;
    }
  });
}

TEST_F(FxTest, LonglifeAppliesOnlyToBigExplosions) {
  auto big = explosion::Create(0, 0, 255, 255, 255, 16, 1, 0, 0, 0, 1);
  EXPECT_EQ(big->sparks().size(), 50u);
  big->sparks().forEach([](glsprite& s) { EXPECT_EQ(s.life, 3.0f); });

  auto small = explosion::Create(0, 0, 255, 255, 255, 16, 1, 2, 0, 0, 1);
  EXPECT_EQ(small->sparks().size(), 10u);
  small->sparks().forEach([](glsprite& s) {
    EXPECT_EQ(s.life, 1.5f);
    EXPECT_GE(s.speed, 1.0f);
    EXPECT_LT(s.speed, 6.0f);
  });
}

TEST_F(FxTest, SparkAndExplosionLifetimes) {
  auto spark = glsprite::Create(0, 0, 0, 5, 1, 0, 0);
  EXPECT_EQ(updatesUntilDone([&] { return spark->Update(); }), 38);
  auto longSpark = glsprite::Create(0, 0, 0, 5, 1, 0, 0);
  longSpark->life = 3;
  EXPECT_EQ(updatesUntilDone([&] { return longSpark->Update(); }), 76);

  // The glow outlives the sparks and drifts up half a pixel a frame.
  auto e = explosion::Create(0, 300, 255, 255, 255, 16, 1, 0, 0, 0, 1);
  EXPECT_EQ(updatesUntilDone([&] { return e->Update(bubbles, bloods); }), 101);
  EXPECT_FLOAT_EQ(e->y, 300 - 100 * 0.5f);
}

TEST_F(FxTest, SlowSparkNeverMovesAndIsNotDrawn) {
  auto slow = glsprite::Create(50, 60, 45, 2.9f, 1, 0, 0);
  auto fast = glsprite::Create(50, 60, 0, 5, 1, 0, 0);
  display->setRecording(true);
  for (int i = 0; i < 10; ++i) {
    slow->Update();
    fast->Update();
    slow->paint();
  }
  EXPECT_EQ(slow->radius, 0);
  EXPECT_EQ(slow->x, 50);
  EXPECT_EQ(slow->y, 60);
  EXPECT_TRUE(display->calls().empty());

  // A fast one covers its whole radius every frame: 2, then 2 + 0 ... = 2 a frame.
  EXPECT_FLOAT_EQ(fast->radius, 2);
  EXPECT_FLOAT_EQ(fast->x, 50 + 10 * 2);
  fast->paint();
  ASSERT_EQ(display->calls().size(), 1u);
}

TEST_F(FxTest, BigExplosionWalksItsPointsEverySecondFrame) {
  auto empty = bigexplosion::Create(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1);
  EXPECT_EQ(empty->Update(bubbles, bloods), 1);

  auto chain = bigexplosion::Create(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  chain->pointlist.add(tpoint::Create(10, 20));
  chain->pointlist.add(tpoint::Create(30, 40));
  EXPECT_EQ(chain->Update(bubbles, bloods), 0);
  EXPECT_TRUE(chain->list.empty());
  EXPECT_EQ(chain->Update(bubbles, bloods), 0);
  ASSERT_EQ(chain->list.size(), 1u);
  EXPECT_EQ(chain->list.first()->mini, 1);
  EXPECT_EQ(chain->list.first()->x, 10);
  EXPECT_EQ(chain->pointlist.size(), 1u);
  EXPECT_EQ(bubbles.size(), 1u);
  chain->Update(bubbles, bloods);
  chain->Update(bubbles, bloods);
  EXPECT_TRUE(chain->pointlist.empty());
  EXPECT_EQ(chain->list.size(), 2u);
  // Then it lasts until the last small explosion is gone.
  const int more = updatesUntilDone([&] { return chain->Update(bubbles, bloods); });
  EXPECT_EQ(more, 101 - 1);
}

TEST_F(FxTest, BossExplosionRunsFiveHundredAndOneFrames) {
  auto boss = bossexplosion::Create(400, 100);
  EXPECT_EQ(boss->isboss, 1);
  boss->Update(bubbles, bloods);
  EXPECT_TRUE(boss->list.empty());
  boss->Update(bubbles, bloods);
  ASSERT_EQ(boss->list.size(), 19u);
  auto* ring = static_cast<explosion*>(boss->list.first());
  EXPECT_EQ(ring->drawblob, 0);
  EXPECT_FLOAT_EQ(ring->x, 400);  // a = 0 at t = 2
  EXPECT_FLOAT_EQ(ring->y, 100 + 50 + 24 - 0.5f);

  EXPECT_EQ(2 + updatesUntilDone([&] { return boss->Update(bubbles, bloods); }), 501);
  EXPECT_TRUE(boss->list.empty());
  EXPECT_FALSE(bloods.empty());
}

TEST_F(FxTest, BloodRisesFadesAndBubbles) {
  auto b = blood::Create(200, 300);
  EXPECT_GE(b->g, 200);
  EXPECT_LE(b->r, 50);
  b->timer = 29;
  b->Alpha = 0.015f;
  EXPECT_EQ(b->Update(bubbles), 0);
  EXPECT_EQ(bubbles.size(), 1u);
  EXPECT_FLOAT_EQ(b->y, 300 - b->ymod);
  EXPECT_EQ(b->Update(bubbles), 1);
}

TEST_F(FxTest, PlanktonWrapsOnlyPastTheLimit) {
  auto p = plankton::Create(300, static_cast<float>(settings.screenheight + 99));
  p->speed = 1;
  p->update();
  EXPECT_EQ(p->y, settings.screenheight + 100);
  p->update();
  EXPECT_EQ(p->y, -100);
  EXPECT_EQ(p->x, 300);
}

TEST_F(FxTest, BubbleLivesAboutFortyFrames) {
  auto b = bubble::Create(0, 0);
  EXPECT_GE(b->size, 0.05f);
  EXPECT_LT(b->size, 0.15f);
  const int frames = updatesUntilDone([&] { return b->Update(); });
  EXPECT_GE(frames, 40);
  EXPECT_LE(frames, 41);
  EXPECT_LT(b->y, 0);
}

TEST_F(FxTest, TextRisesOnlyWhenAsked) {
  auto still = Text::Create(400, 300, 0, 1, "WARNING", nullptr, 3);
  auto rising = Text::Create(400, 300, 1, 1, "WARNING", nullptr, 3);
  EXPECT_EQ(rising->y, 280);
  still->update();
  rising->update();
  EXPECT_EQ(still->y, 300);
  EXPECT_EQ(rising->y, 279.5f);

  auto invisible = Text::Create(0, 0, 0, 0, "x", nullptr, 3);
  const int frames = updatesUntilDone([&] {
    invisible->draw();
    return invisible->update();
  });
  EXPECT_GE(frames, 75);
  EXPECT_LE(frames, 76);
}

TEST_F(FxTest, TextImageIsDrawnCentred) {
  auto picture = pf::createImage(40, 20, 1, 0);
  auto t = Text::Create(100, 50, 0, 1, "", picture.get(), 3);
  display->setRecording(true);
  t->draw();
  ASSERT_EQ(display->calls().size(), 1u);
  const pf::DrawCall& c = display->calls()[0];
  EXPECT_EQ(c.image, picture.get());
  EXPECT_FLOAT_EQ(c.x[0], 80);
  EXPECT_FLOAT_EQ(c.y[0], 40);
  EXPECT_FLOAT_EQ(c.alpha, 1);  // life 3 draws opaque
}

}  // namespace
