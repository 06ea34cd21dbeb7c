// Eels, hermit shells, streaking shrimp, anemones, seahorses and jellyfish on
// their own: motion, firing, hit areas and deaths.
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
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bigexplosion.hpp"
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

class CreatureTest : public GlowSpriteTest {
 protected:
  CreatureTest() : GlowSpriteTest(3) {
    ship.x = 400;
    ship.y = 500;
  }

  int hit(enemybase& e, float amount) { return e.damage(amount, bubbles, enemies, explosions); }
  int step(enemybase& e) { return e.Update(ship, enemies); }
  template <class T>
  std::vector<T*> all() {
    std::vector<T*> found;
    enemies.forEach([&](enemybase& e) {
      if (auto* t = dynamic_cast<T*>(&e)) found.push_back(t);
    });
    return found;
  }

  StillShip ship;
  EntityList<enemybase> enemies;
  EntityList<bubble> bubbles;
  EntityList<blood> bloods;
  EntityList<explosionbase> explosions;
};

float distance(float x1, float y1, float x2, float y2) { return std::hypot(x1 - x2, y1 - y2); }

// The direction of travel points from (fromX, fromY) at (toX, toY).
void expectAimedAt(const enemybullet& b, float fromX, float fromY, float toX, float toY) {
  const double dx = toX - fromX, dy = toY - fromY;
  const double len = std::hypot(dx, dy);
  EXPECT_NEAR(Cos(b.angle), dx / len, 1e-4);
  EXPECT_NEAR(Sin(b.angle), dy / len, 1e-4);
}

// ---------------------------------------------------------------- eel

TEST_F(CreatureTest, CreaturesDrawTheirRandomFieldsInFieldOrder) {
  SeedRnd(21);
  const int timer = Rand(0, 359), twist = Rand(0, 1), twist2 = Rand(0, 1), attack = Rand(0, 150);
  const int firstRot = Rand(0, 359);
  SeedRnd(21);
  auto e = eel::Create(0, 0, 0);
  EXPECT_EQ(e->timer, timer);
  EXPECT_EQ(e->twist, twist);
  EXPECT_EQ(e->twist2, twist2);
  EXPECT_EQ(e->attack, attack);
  EXPECT_EQ(e->tail[0]->rot, firstRot);  // the links are made after the eel

  SeedRnd(22);
  const int life = 500 + Rand(-100, 100), targetX = Rand(125, 675);
  SeedRnd(22);
  auto s = shrimp2::Create(0, 0, 0);
  EXPECT_EQ(s->life, life);
  EXPECT_EQ(s->targetX, targetX);

  SeedRnd(23);
  const int tim = Rand(0, 359), angle = Rand(0, 359), spacing = Rand(13, 20);
  const float firstPoint = static_cast<float>(Rnd(0, 359));
  SeedRnd(23);
  auto j = jellyfish::Create(400, 100, 0);
  EXPECT_EQ(j->tim, tim);
  EXPECT_EQ(j->angle, angle);
  const tentacle& t = *j->tentacleList.first();
  EXPECT_EQ(t.offsetY, spacing);
  EXPECT_EQ(t.points[0]->angle, firstPoint);
  EXPECT_EQ(t.points[9]->y, static_cast<int>(100 + 9 * spacing));
  EXPECT_EQ(t.points[10], nullptr);
}

TEST_F(CreatureTest, EelBodyStartsOnTheHeadAndUnrollsTenPixelsApart) {
  auto e = eel::Create(300, 100, 180);
  for (const auto& link : e->tail) {
    EXPECT_EQ(link->x, 300);
    EXPECT_EQ(link->y, 100);
  }
  EXPECT_EQ(e->energy, 15);
  EXPECT_EQ(e->score, 100);
  e->eelVelocity = -2;
  e->size = 1.5f;
  step(*e);
  float leaderX = e->x, leaderY = e->y;
  for (const auto& link : e->tail) {
    EXPECT_NEAR(distance(link->x, link->y, leaderX, leaderY), 10, 1e-3);
    leaderX = link->x;
    leaderY = link->y;
  }
}

TEST_F(CreatureTest, EelIsHitOnlyAtItsLinkSquares) {
  auto e = eel::Create(300, 100, 0);
  EXPECT_EQ(e->checkcollisions(Rect{305, 100, 1, 1}), 1);  // touching the square's edge
  EXPECT_EQ(e->checkcollisions(Rect{305.5f, 100, 1, 1}), 0);
  // Its collrect is the zero rectangle: the ring's circle test never meets it.
  EXPECT_EQ(circleHitsRect(e->collrect, 300, 100, 50), 0);
  e->tail[14]->x = 500;
  EXPECT_EQ(e->checkcollisions(Rect{498, 98, 2, 2}), 1);
}

TEST_F(CreatureTest, EelHeadingAndBodyStayFiniteThroughTheTangentsPoles) {
  auto e = eel::Create(400, 100, 0);
  e->eelVelocity = -1;
  e->size = 2;
  e->twist2 = 0;
  e->timer = 95;  // runs down through the pole at 90, then 270 below 0
  for (int frame = 0; frame < 400; ++frame) {
    step(*e);
    ASSERT_TRUE(std::isfinite(e->angle2)) << "frame " << frame;
    ASSERT_TRUE(std::isfinite(e->x) && std::isfinite(e->y)) << "frame " << frame;
    for (const auto& link : e->tail) ASSERT_TRUE(std::isfinite(link->x) && std::isfinite(link->y));
    // Keep the eel on the field so it does not finish.
    e->x = 400;
    e->y = 100;
  }
  EXPECT_EQ(e->checkcollisions(Rect{-1e6f, -1e6f, 1, 1}), 0);
}

TEST_F(CreatureTest, EelVolleyIsEightRedBulletsOneEveryOtherFrame) {
  auto e = eel::Create(400, 100, 0);
  e->twist2 = 0;  // with no speed and no sink the eel stays put
  e->attack = 200;
  std::vector<float> angles;
  for (int frame = 1; frame <= 20; ++frame) {
    const size_t before = enemies.size();
    step(*e);
    ASSERT_LE(enemies.size(), before + 1) << "more than one bullet in frame " << frame;
    if (enemies.size() > before) {
      EXPECT_EQ(frame % 2, 0);
      auto* b = static_cast<enemybullet*>(enemies.last());
      EXPECT_EQ(b->r, 255);
      EXPECT_EQ(b->g, 0);
      EXPECT_EQ(b->b, 0);
      EXPECT_EQ(b->x, 400);
      angles.push_back(b->angle);
    }
  }
  EXPECT_EQ(angles, (std::vector<float>{0, 45, 90, 135, 180, 225, 270, 315}));
  EXPECT_EQ(e->attackangle, 0);
  EXPECT_EQ(e->attack, 4);  // back to 0 at 216, four frames ago
}

TEST_F(CreatureTest, EelBelowTheLineHoldsFireAndFiresAgainOnceBackAbove) {
  // The per-frame test of the volley decides: an eel that thrashes back above
  // y 400 resumes its volley.
  auto e = eel::Create(400, 450, 0);
  e->twist2 = 0;
  e->attack = 201;
  step(*e);
  EXPECT_TRUE(enemies.empty());
  EXPECT_EQ(e->attack, 202);
  e->y = 300;
  step(*e);  // 203: odd
  EXPECT_TRUE(enemies.empty());
  step(*e);  // 204
  EXPECT_EQ(enemies.size(), 1u);
}

TEST_F(CreatureTest, EelDiesInBubblesFromItsFrontLinksAndBurstsAlongItsWholeBody) {
  auto e = eel::Create(0, 0, 0);
  for (int i = 0; i < eel::kLinks; ++i) {
    e->tail[static_cast<size_t>(i)]->x = 100.0f + 30.0f * i;
    e->tail[static_cast<size_t>(i)]->y = 200;
  }
  EXPECT_EQ(hit(*e, 14), 0);
  EXPECT_EQ(hit(*e, 1), 1);
  ASSERT_EQ(bubbles.size(), 75u);
  bubbles.forEach([](bubble& b) {
    EXPECT_GE(b.x, 80);
    EXPECT_LE(b.x, 240);  // link 4 is at 220
  });
  e->makeexplosions(explosions);
  ASSERT_EQ(explosions.size(), 16u);
  int i = 0;
  explosions.forEach([&](explosionbase& x) {
    if (i < eel::kLinks) {
      auto& burst = static_cast<explosion&>(x);
      EXPECT_EQ(burst.x, 100.0f + 30.0f * i);
      EXPECT_EQ(burst.mini, 1);
    } else {
      auto& chain = static_cast<bigexplosion&>(x);
      EXPECT_EQ(chain.pointlist.size(), 15u);
      EXPECT_EQ(chain.pointlist.last()->x, 520);
    }
    ++i;
  });
}

// ---------------------------------------------------------------- hermit shell

TEST_F(CreatureTest, HermitShellReleasesEveryTwentyFiveFramesInTheUpperField) {
  auto shell = hermitshell::Create(400, -10, 0);
  std::vector<int> releases;
  for (int frame = 1; frame <= 700; ++frame) {
    const size_t before = enemies.size();
    ASSERT_EQ(step(*shell), 0);
    if (enemies.size() > before) releases.push_back(frame);
  }
  // Frame 25 is at y 7.5, frame 600 at y 410.
  ASSERT_EQ(releases.size(), 22u);
  EXPECT_EQ(releases.front(), 50);
  EXPECT_EQ(releases.back(), 575);
  EXPECT_EQ(shell->collrect.y, shell->y - 120);
  EXPECT_EQ(shell->collrect.h, 120);
  EXPECT_EQ(shell->collrect.w, 60);
  EXPECT_EQ(shell->collrect.x, shell->x2 - 30);

  shell->y = static_cast<float>(settings.screenheight + 99);
  EXPECT_EQ(step(*shell), 0);
  EXPECT_EQ(step(*shell), 1);
}

TEST_F(CreatureTest, HermitShellBurstsIntoFiftyShrimpOnlyOnTheKillingHit) {
  auto shell = hermitshell::Create(400, 200, 0);
  step(*shell);
  EXPECT_EQ(hit(*shell, 79), 0);
  EXPECT_TRUE(enemies.empty());
  EXPECT_EQ(hit(*shell, 1), 1);
  EXPECT_EQ(all<shrimp2>().size(), 50u);
  EXPECT_EQ(bubbles.size(), 50u);
  for (shrimp2* s : all<shrimp2>()) {
    EXPECT_EQ(s->score, 20);
    EXPECT_GE(s->Direction, 0);
    EXPECT_LE(s->Direction, 180);
    EXPECT_GE(s->y, 140.0f);
    EXPECT_LE(s->y, 200.7f);
  }
  // A beam or a fire wall keeps hitting the dead shell in the same frame.
  EXPECT_EQ(hit(*shell, 5), 1);
  EXPECT_EQ(hit(*shell, 5), 1);
  EXPECT_EQ(enemies.size(), 50u);
  EXPECT_EQ(bubbles.size(), 50u);
}

// ---------------------------------------------------------------- streaking shrimp

TEST_F(CreatureTest, StreakingShrimpHitsUseTheEnemyEnergy) {
  auto s = shrimp2::Create(300, 300, 0);
  s->energy = 0.5f;
  EXPECT_FLOAT_EQ(static_cast<enemybase&>(*s).energy, 0.5f);
  EXPECT_EQ(hit(*s, 0.25f), 0);
  EXPECT_EQ(hit(*s, 0.25f), 1);
}

TEST_F(CreatureTest, StreakingShrimpStopsTurningWithinADegreeOfItsBearing) {
  auto s = shrimp2::Create(300, 100, 90.5f);
  s->targetX = 300;
  s->TurnSpeed = 2.75f;
  step(*s);
  EXPECT_EQ(s->TurnSpeed, 0);

  // Further off it turns towards the target, at most 3 degrees a frame.
  auto off = shrimp2::Create(300, 100, 45);
  off->targetX = 300;
  off->TurnSpeed = 3;
  step(*off);
  EXPECT_EQ(off->TurnSpeed, 3);
  EXPECT_FLOAT_EQ(off->Direction, 48);
}

TEST_F(CreatureTest, StreakingShrimpIsShovedByEveryEnemyItOverlapsButNotByAnEel) {
  shrimp2* s = enemies.add(shrimp2::Create(300, 300, 100));
  step(*s);
  const float dir = s->Direction, xs = s->XS, ys = s->YS;
  auto* eelOnIt = enemies.add(eel::Create(s->x, s->y, 0));
  s->dodge(enemies);
  EXPECT_EQ(s->Direction, dir);

  // Another one right of and below it pushes it left and up.
  shrimp2* other = enemies.add(shrimp2::Create(s->x + 3, s->y + 3, 0));
  step(*other);
  s->dodge(enemies);
  EXPECT_FLOAT_EQ(s->Direction, dir - 10);
  EXPECT_FLOAT_EQ(s->XS, xs - 0.75f);
  EXPECT_FLOAT_EQ(s->YS, ys - 0.75f);
  // The first one is left of and above the other, which it pushes right and down.
  const float odir = other->Direction, oxs = other->XS, oys = other->YS;
  other->dodge(enemies);
  EXPECT_FLOAT_EQ(other->Direction, odir - 10);
  EXPECT_FLOAT_EQ(other->XS, oxs + 0.75f);
  EXPECT_FLOAT_EQ(other->YS, oys + 0.75f);
  enemies.remove(eelOnIt);
}

TEST_F(CreatureTest, StreakingShrimpTrailAlternatesBetweenFourAndFivePoints) {
  auto s = shrimp2::Create(300, 300, 90);
  std::vector<size_t> sizes;
  for (int i = 0; i < 8; ++i) {
    step(*s);
    sizes.push_back(s->trail->PointList.size());
  }
  EXPECT_EQ(sizes, (std::vector<size_t>{2, 3, 4, 5, 4, 5, 4, 5}));
  // Each new point's phase is 55 degrees on from the newest.
  EXPECT_FLOAT_EQ(s->trail->PointList.last()->angle, 55 * 6);
}

// ---------------------------------------------------------------- anemone

TEST_F(CreatureTest, AnemoneKeepsAFastSwayAndSpeedsASlowOneUpToFour) {
  // Draw order: the phase step, the timer, the sway speed, then the choice
  // of sign for a slow sway.
  bool sawSlow = false, sawFast = false;
  for (uint64_t seed = 1; seed <= 60; ++seed) {
    SeedRnd(seed);
    const int r = static_cast<int>(Rnd(0, 90));
    const int timer = Rand(0, 100);
    const int sway = Rand(-5, 5);
    const bool slow = sway >= -3 && sway <= 3;
    const int expected = slow ? (Rand(0, 1) == 1 ? 4 : -4) : sway;
    SeedRnd(seed);
    auto a = anenome::Create(300, 0, 0);
    EXPECT_EQ(a->timer, timer);
    EXPECT_EQ(a->angleMod, expected) << "drawn " << sway;
    EXPECT_EQ(a->angle[3], 3 * r);
    sawSlow |= slow;
    sawFast |= !slow;
  }
  EXPECT_TRUE(sawSlow && sawFast);
}

TEST_F(CreatureTest, AnemoneFiresFromItsFootAtTheShipAndItsTipNeverGoesDark) {
  auto a = anenome::Create(300, 100, 0);
  a->timer = 299;
  step(*a);
  ASSERT_EQ(enemies.size(), 1u);
  auto* b = static_cast<enemybullet*>(enemies.last());
  EXPECT_EQ(b->x, a->x);
  EXPECT_EQ(b->y, a->y);
  EXPECT_EQ(b->g, 255);  // the default green bullet
  expectAimedAt(*b, a->x, a->y, ship.x, ship.y);
  EXPECT_FLOAT_EQ(a->flashlife, 0.8f);
  for (int i = 0; i < 29; ++i) step(*a);
  EXPECT_GT(a->flashlife, 0.2f);
  for (int i = 0; i < 10; ++i) step(*a);
  EXPECT_FLOAT_EQ(a->flashlife, 0.2f);

  // Below y 400 it holds its fire.
  auto low = anenome::Create(300, 420, 0);
  low->timer = 299;
  step(*low);
  EXPECT_EQ(enemies.size(), 1u);
}

// ---------------------------------------------------------------- seahorse

TEST_F(CreatureTest, SeahorseFansFiveYellowBulletsFromItsSnoutAimedFromItsCentre) {
  auto h = seahorse::Create(400, 100, 0);
  h->timer = 39;
  step(*h);
  ASSERT_EQ(enemies.size(), 5u);
  const seahorse::point s = h->snout();
  std::vector<enemybullet*> fan;
  enemies.forEach([&](enemybase& e) { fan.push_back(static_cast<enemybullet*>(&e)); });
  for (enemybullet* b : fan) {
    EXPECT_EQ(b->x, s.x);
    EXPECT_EQ(b->y, s.y);
    EXPECT_EQ(b->r, 200);
    EXPECT_EQ(b->g, 200);
    EXPECT_EQ(b->b, 0);
  }
  expectAimedAt(*fan[2], h->x, h->y, ship.x, ship.y);
  EXPECT_FLOAT_EQ(fan[0]->angle, fan[2]->angle - 33);
  EXPECT_FLOAT_EQ(fan[1]->angle, fan[2]->angle - 66);
  EXPECT_FLOAT_EQ(fan[4]->angle, fan[2]->angle + 66);

  for (const auto& [x, y] : std::vector<std::pair<float, float>>{{149.0f, 100}, {649.5f, 100}, {400, 399.8f}}) {
    enemies.clear();
    auto quiet = seahorse::Create(x, y, 0);
    quiet->timer = 39;
    quiet->lr = 1;
    step(*quiet);
    EXPECT_TRUE(enemies.empty()) << x << ", " << y;
  }
}

TEST_F(CreatureTest, SeahorseIsHitAtItsCirclingBodyNotItsCentre) {
  auto h = seahorse::Create(400, 200, 0);
  step(*h);
  ASSERT_GT(distance(h->x, h->y, h->x2, h->y2), 49);
  EXPECT_EQ(h->checkcollisions(Rect{h->x2 - 1, h->y2 - 1, 2, 2}), 1);
  EXPECT_EQ(h->checkcollisions(Rect{h->x - 1, h->y - 1, 2, 2}), 0);
}

TEST_F(CreatureTest, SeahorseLeavesOnlyOnTheFarSide) {
  for (const int lr : {0, 1}) {
    auto h = seahorse::Create(lr == 0 ? 750.0f : 50.0f, -50, 0);
    h->lr = lr;
    int frames = 1;
    while (step(*h) == 0) ASSERT_LT(++frames, 2000);
    EXPECT_EQ(frames, 1501) << "lr " << lr;
    EXPECT_TRUE(lr == 0 ? h->x < 0 : h->x > settings.screenwidth);
  }
}

// ---------------------------------------------------------------- jellyfish

TEST_F(CreatureTest, JellyfishFromTheSideHoldsFireUntilInsideTheBand) {
  auto j = jellyfish::Create(50, 250, 0);
  EXPECT_EQ(j->jelly, 1);
  EXPECT_EQ(j->attackable, -30);
  EXPECT_EQ(j->tentacleList.size(), 7u);
  j->xvel = 0.4f;
  j->yvel = -0.3f;
  int firstVolley = 0;
  for (int frame = 1; frame <= 240 && firstVolley == 0; ++frame) {
    step(*j);
    j->paint();
    if (!enemies.empty()) firstVolley = frame;
  }
  EXPECT_EQ(firstVolley, 200);  // x passes 125 at frame 188
  ASSERT_EQ(enemies.size(), 5u);
  std::vector<float> angles;
  enemies.forEach([&](enemybase& e) {
    angles.push_back(static_cast<enemybullet&>(e).angle);
    EXPECT_EQ(e.x, j->x2);
    EXPECT_EQ(e.y, j->y2);
  });
  EXPECT_EQ(angles, (std::vector<float>{45, 66.5f, 90, 112.4f, 135}));

  enemies.clear();
  auto low = jellyfish::Create(400, 401, 0);
  for (int frame = 0; frame < 200; ++frame) step(*low);
  EXPECT_TRUE(enemies.empty());
}

TEST_F(CreatureTest, JellyfishLeavesAtFixedBoundsWhateverTheScreen) {
  settings.screenheight = 1000;
  auto sinking = jellyfish::Create(400, 649.9f, 0);
  sinking->yvel = 0.2f;
  EXPECT_EQ(step(*sinking), 1);
  auto rising = jellyfish::Create(400, -149.9f, 0);
  rising->yvel = -0.2f;
  EXPECT_EQ(step(*rising), 1);
  auto staying = jellyfish::Create(400, 649.9f, 0);
  EXPECT_EQ(step(*staying), 0);
}

TEST_F(CreatureTest, TentaclesThinAndFadeToAnInvisibleLastSpan) {
  auto j = jellyfish::Create(400, 200, 0);
  for (int i = 0; i < 3; ++i) {
    step(*j);
    j->paint();
  }
  display->clearCalls();
  display->setRecording(true);
  j->paint();
  display->setRecording(false);
  std::vector<float> widths;
  for (const pf::DrawCall& c : display->calls()) {
    if (c.kind != pf::DrawCall::Kind::Line) continue;
    widths.push_back(c.lineWidth);
    EXPECT_NEAR(c.alpha, c.lineWidth / 10, 0.003f);
  }
  ASSERT_EQ(widths.size(), 7u * 21u);  // seven spans of three lines each
  for (size_t t = 0; t < 7; ++t) {
    for (size_t k = 0; k < 21; ++k) EXPECT_EQ(widths[t * 21 + k], 6.0f - static_cast<float>(k / 3));
  }
  // The tentacles hang from the bottom of the bell as the frame's looks lay it out.
  j->updateLooks();
  EXPECT_NEAR(j->ymov, j->y2 + 36 + 7 * Sin(j->angle / 4), 1e-3);
}

}  // namespace
