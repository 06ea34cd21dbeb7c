#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "essentials/assets.hpp"
#include "essentials/entity_list.hpp"
#include "essentials/math.hpp"
#include "fx/bubble.hpp"
#include "platform/platform.hpp"
#include "ships/bullet.hpp"
#include "ships/bullet2D.hpp"
#include "ships/fire_attack.hpp"
#include "ships/missile.hpp"
#include "ships/particlebeam.hpp"
#include "ships/playerbase.hpp"
#include "ships/powerring.hpp"
#include "ships/ship5bullet.hpp"
#include "ships/tstreak.hpp"
#include "test_support.hpp"

namespace {

class ProjectileTest : public GlowSpriteTest {
 protected:
  ProjectileTest() : GlowSpriteTest(3) {}
};

struct ParkedShip : playerbase {
  int Update(float, float, float, EntityList<bubble>&) override { return 0; }
  int paint() const override { return 0; }
};

std::unique_ptr<bullet> shotUp(float y, float speed) {
  return bullet::Create(400, y, 270, speed, assets.blobImage(), 1, 4, 0, 100, 100, 1, 0.1f, 1.5f, 0, 1);
}

TEST_F(ProjectileTest, BulletFliesStraightAndLeavesOnlyByTopOrSides) {
  auto b = shotUp(300, 20);
  int retiredAt = 0;
  for (int n = 1; n <= 30 && retiredAt == 0; ++n) {
    if (b->Update() == 1) retiredAt = n;
  }
  EXPECT_EQ(retiredAt, 18);
  EXPECT_EQ(b->timer, 18);
  EXPECT_FLOAT_EQ(b->X, 400);
  EXPECT_FLOAT_EQ(b->Y, 300 - (1.5f + 18 * 20));
  EXPECT_FLOAT_EQ(b->collrect.x, b->X - 10);
  EXPECT_FLOAT_EQ(b->collrect.h, 50);

  const pf::ImagePtr sprite = pf::createImage(64, 64, 1, 0);
  auto down = bullet::Create(400, 300, 90, 20, *sprite, 1, 4, 255, 255, 255, 1, 1, 0, 0, 1);
  for (int n = 0; n < 100; ++n) EXPECT_EQ(down->Update(), 0);
  auto sideways = bullet::Create(790, 300, 0, 20, *sprite, 1, 4, 255, 255, 255, 1, 1, 0, 0, 1);
  EXPECT_EQ(sideways->Update(), 1);
}

TEST_F(ProjectileTest, BulletDrawsWhiteCoreThenColouredGlow) {
  auto b = bullet::Create(200, 100, 90, 0, assets.blobImage(), 0.4f, 4, 10, 20, 30, 1, 0.5f, 0, 0, 1);
  display->setRecording(true);
  b->paint();
  const auto& calls = display->calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, pf::DrawCall::Kind::Image);
  EXPECT_EQ(calls[0].r, 255);
  EXPECT_EQ(calls[0].b, 255);
  EXPECT_EQ(calls[1].r, 10);
  EXPECT_EQ(calls[1].g, 20);
  EXPECT_EQ(calls[1].b, 30);
  EXPECT_EQ(calls[1].blend, 4);
  EXPECT_NEAR(calls[1].alpha, 0.4f, 0.005f);
  // Rotated a quarter turn: the corner (-32, -32) of the centred 64 x 64
  // sprite lands at (X + 32 sy, Y - 32 sx).
  EXPECT_NEAR(calls[0].x[0], 200 + 32 * 0.3f, 1e-3);
  EXPECT_NEAR(calls[0].y[0], 100 - 32 * 0.8f, 1e-3);
  EXPECT_NEAR(calls[1].x[0], 200 + 32 * 0.6f, 1e-3);
  EXPECT_NEAR(calls[1].y[0], 100 - 32 * 1.1f, 1e-3);
  // The drawing state is back to its defaults.
  EXPECT_EQ(pf::getRotation(), 0);
  EXPECT_EQ(pf::getBlend(), pf::kBlendAlpha);
}

TEST_F(ProjectileTest, Bullet2DStaysAtOriginUntilFirstUpdate) {
  auto p = bullet2D::Create(100, 200, 90, 1, assets.blobImage(), 1, 4, 0, 100, 100, 0.1f, 0.1f, 8, 0, 1);
  EXPECT_EQ(p->x, 0);
  EXPECT_EQ(p->y, 0);
  p->Update();
  EXPECT_NEAR(p->x, 100, 1e-4);
  EXPECT_FLOAT_EQ(p->y, 209);
  display->setRecording(true);
  p->isPlayer = 1;
  p->paint();
  ASSERT_EQ(display->calls().size(), 5u);
  EXPECT_EQ(display->calls()[4].r, 200);
}

TEST_F(ProjectileTest, BeamGrowsSwervesAndNeverCountsFrames) {
  auto beam = particlebeam::Create(400, 500, 270, 20, assets.blobImage(), 0.8f, 4, 150, 200, 0, 0.35f, 1.5f, 10, 0, -3);
  EXPECT_EQ(beam->damage, 3);
  EXPECT_EQ(beam->isparticlebeam, 1);
  EXPECT_FLOAT_EQ(beam->xScale, 0.1f);
  for (int i = 0; i < 5; ++i) beam->Update();
  EXPECT_EQ(beam->xScale, 0.35f);
  EXPECT_FLOAT_EQ(beam->yscale, 0.6f);
  EXPECT_EQ(beam->timer, 15);
  EXPECT_EQ(beam->bullet::timer, 0);
  EXPECT_FLOAT_EQ(beam->oldX, 385);
  EXPECT_NE(beam->angle, 270);
  EXPECT_FLOAT_EQ(beam->collrect.w, 50);
}

TEST_F(ProjectileTest, Ship5BulletWeavesUpwards) {
  auto s = ship5bullet::Create(300, 200, 0, 99, assets.blobImage(), 1, 3, 1, 2, 3, 0.5f, 2.9f, 40, 1, 0.6f);
  EXPECT_EQ(s->alpha, 0);
  EXPECT_EQ(s->speed, 0);
  EXPECT_EQ(s->radius, 0);
  EXPECT_EQ(s->blend, 4);
  EXPECT_EQ(s->damage, 0.6f);
  s->Update();
  EXPECT_EQ(s->Y, 180);
  EXPECT_FLOAT_EQ(s->X, static_cast<float>(300 + 30 * Sin(9)));
  int updates = 1;
  while (s->Update() == 0) ++updates;
  EXPECT_EQ(updates + 1, 13);  // 200 - 13 x 20 = -60
}

TEST_F(ProjectileTest, MissileOnTargetHeadingFliesStraightToTopSpeed) {
  SeedRnd(11);
  auto m = missile::Create(400, 500, 270);
  SeedRnd(11);
  EXPECT_EQ(m->life, 100 + Rand(-50, 50));
  m->life = 1000;
  for (int i = 0; i < 20; ++i) {
    m->Update(400, -1000);
    EXPECT_EQ(m->TurnSpeed, 0);
  }
  EXPECT_EQ(m->Direction, 270);
  EXPECT_NEAR(std::hypot(m->XS, m->YS), 12, 1e-4);
  EXPECT_FLOAT_EQ(m->collrect.y, m->y - 10);
}

TEST_F(ProjectileTest, MissileTurnsTheShortWayThroughZero) {
  auto m = missile::Create(400, 300, 350);
  m->life = 1000;
  const int tx = static_cast<int>(400 + 2000 * Cos(10));
  const int ty = static_cast<int>(300 + 2000 * Sin(10));
  m->Update(tx, ty);
  EXPECT_FLOAT_EQ(m->TurnSpeed, 1.4f);
  bool wrapped = false;
  for (int i = 0; i < 10; ++i) {
    m->Update(tx, ty);
    EXPECT_TRUE(m->Direction < 90 || m->Direction > 270) << m->Direction;
    if (m->Direction < 90) wrapped = true;
  }
  EXPECT_TRUE(wrapped);
}

TEST_F(ProjectileTest, MissileExpiresAndBubblesEveryFourthFrame) {
  auto m = missile::Create(400, 300, 270);
  m->life = 8;
  EntityList<bubble> bubbles;
  int frames = 0;
  int done = 0;
  while (done == 0) {
    done = m->Update(400, 0);
    m->addeffects(bubbles);
    ++frames;
  }
  EXPECT_EQ(frames, 8);
  EXPECT_EQ(bubbles.size(), 2u);
}

TEST_F(ProjectileTest, TrailAlternatesAndFadesTowardsTheTail) {
  auto t = tstreak::Create(0, 0, 255, 255, 255);
  EXPECT_FLOAT_EQ(t->Tint, 0.2f);
  display->setRecording(true);
  t->draw();
  EXPECT_TRUE(display->calls().empty());

  std::vector<size_t> sizes;
  for (int i = 1; i <= 8; ++i) {
    t->add(static_cast<float>(10 * i), 0);
    sizes.push_back(t->size());
  }
  EXPECT_EQ(sizes, (std::vector<size_t>{2, 3, 4, 5, 4, 5, 4, 5}));
  EXPECT_EQ(t->lastpoint.x, 80);

  t->draw();
  const auto& calls = display->calls();
  ASSERT_EQ(calls.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(calls[i].kind, pf::DrawCall::Kind::Line);
    EXPECT_NEAR(calls[i].alpha, 0.2f * (i + 1), 0.005f);
    EXPECT_EQ(calls[i].lineWidth, 2);
  }
  display->clearCalls();
  t->fat = 1;
  t->draw();
  EXPECT_EQ(display->calls()[0].lineWidth, 3);
  EXPECT_EQ(display->calls()[3].lineWidth, 12);
}

TEST_F(ProjectileTest, PowerRingBurnsOutOnItsTenthUpdate) {
  auto ring = powerring::Create(100, 100);
  int frames = 1;
  while (ring->Update(static_cast<float>(frames)) == 0) ++frames;
  EXPECT_EQ(frames, 10);
  EXPECT_EQ(ring->angle, 10);
}

TEST_F(ProjectileTest, FireWithOneBitOnlyWaitsOutItsTime) {
  ParkedShip ship;
  ship.collrect = Rect::Create(398, 690, 4, 4);
  auto fire = fireAttack::Create(1);
  int frames = 1;
  while (fire->Update(ship) == 0) {
    EXPECT_TRUE(fire->particles.empty());
    ++frames;
  }
  EXPECT_EQ(frames, 201);
}

TEST_F(ProjectileTest, FireIsBornWhileItsTimerIsBelowItsBits) {
  ParkedShip farAway;
  farAway.collrect = Rect::Create(-1000, -1000, 4, 4);
  auto fire = fireAttack::Create(37);
  // Frame k adds k / 5 + 1 flames for k = 1 to 36; none has risen off the top yet.
  size_t expected = 0;
  for (int k = 1; k <= 37; ++k) {
    fire->Update(farAway);
    if (k < 37) expected += static_cast<size_t>(k / 5 + 1);
    EXPECT_EQ(fire->particles.size(), expected) << k;
  }
}

TEST_F(ProjectileTest, FlamesNearTheShipAreFlungAside) {
  ParkedShip ship;
  ship.x = 400;
  ship.y = 300;
  ship.collrect = Rect::Create(398, 290, 4, 4);
  auto fire = fireAttack::Create(0);
  tpoint* left = fire->particles.add(tpoint::Create(390, 310));
  tpoint* right = fire->particles.add(tpoint::Create(410, 310));
  tpoint* distant = fire->particles.add(tpoint::Create(100, 500));
  fire->Update(ship);
  EXPECT_LT(left->xVel, -11.5f);
  EXPECT_GE(left->xVel, -31.5f);
  EXPECT_GE(right->xVel, 11.5f);
  EXPECT_GE(left->yVel, 5.5f);
  EXPECT_LT(left->yVel, 10.5f);
  EXPECT_EQ(distant->xVel, 0);
  EXPECT_FLOAT_EQ(distant->yVel, -0.8f);
}

}  // namespace
