// A run stepped frame by frame: entry, control, firing, the collision passes
// and their deliberate quirks, pause and quit.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "platform/backend.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "scenario_support.hpp"
#include "ships/player.hpp"

namespace {

bullet* addStillBullet(game& g, float x, float y, float damage = 1) {
  // Speed 0: the bullet sits where it was made, its box refreshed every frame.
  return g.bulletlist.add(bullet::Create(x, y, 270, 0, assets.blobImage(), 1, 4, 255, 255, 255, 1, 0.1f, 0, 0, damage));
}

}  // namespace

TEST(SessionEntry, ShipRisesThenTakesInputAndStaysInvincibleUntilFrame120) {
  auto g = newRun();
  ASSERT_TRUE(g);
  EXPECT_EQ(g->p1->y, 700);
  pf::inputState().keyPressed(settings.leftkey);  // ignored until frame 61
  runFrames(*g, 60);
  EXPECT_LT(g->p1->y, 600);  // rose into view by itself
  EXPECT_EQ(g->p1->x, 400);
  EXPECT_EQ(g->playerinvincible, 1);
  runFrames(*g, 59);  // frame 119
  EXPECT_LT(g->p1->x, 400);
  EXPECT_EQ(g->playerinvincible, 1);
  EXPECT_EQ(g->p1->dying, 1);
  runFrames(*g, 1);  // frame 120
  EXPECT_EQ(g->playerinvincible, 0);
  EXPECT_EQ(g->p1->dying, 0);
}

TEST(SessionEntry, ContactCostsNothingWhileEnteringAndALifeAfterwards) {
  auto g = newRun();
  runFrames(*g, 30);
  Dummy* d = Dummy::spawn(*g, g->p1->x, g->p1->y - 10);
  d->halfSize = 40;
  runFrames(*g, 20);
  EXPECT_EQ(g->lives, 3);

  g->enemylist.clear();
  skipEntry(*g);
  g->multiplier = 7;
  g->powerlevel = 2;
  d = Dummy::spawn(*g, g->p1->x, g->p1->y - 10);
  d->halfSize = 40;
  runFrames(*g, 1);
  EXPECT_EQ(g->lives, 2);
  EXPECT_EQ(g->p1->x, 400);
  EXPECT_EQ(g->p1->y, 710);
  EXPECT_EQ(g->multiplier, 1);
  EXPECT_EQ(g->powerlevel, 1);
  EXPECT_EQ(g->playerstarttimer, 0);
  EXPECT_EQ(g->p1->dying, 1);
  bool powerDown = false;
  g->textlist.forEach([&](Text& t) { powerDown |= t.message == "power down"; });
  EXPECT_TRUE(powerDown);
  // The enemy still sits where the ship was; the ship is now below it and
  // invincible, so the next frames cost nothing.
  runFrames(*g, 30);
  EXPECT_EQ(g->lives, 2);
}

TEST(ShipControl, FrictionDeadZoneAndBounds) {
  freshHeadless();
  auto ship = player::Create();
  EntityList<bubble> bubbles;
  ship->y = 300;
  ship->dying = 0;
  // 0.2 is pushed to -0.1 by the first friction test and back to 0.2 by the
  // second, then the dead zone stops it.
  ship->yVel = 0.2f;
  ship->Update(0, 0, 0, bubbles);
  EXPECT_EQ(ship->yVel, 0);
  EXPECT_EQ(ship->y, 300);

  ship->x = 152;
  for (int i = 0; i < 10; ++i) ship->Update(-0.5f, 0, 0, bubbles);
  EXPECT_EQ(ship->x, 150);
  EXPECT_EQ(ship->xVel, 0);

  // Without input rights the ship keeps its place, but still streams exhaust
  // and relaxes its tilt.
  ship->caninput = 0;
  ship->rotation = 5;
  const float x = ship->x;
  const size_t exhaust = ship->playerList.size();
  ship->Update(0.5f, 0.5f, 0, bubbles);
  EXPECT_EQ(ship->x, x);
  EXPECT_EQ(ship->playerList.size(), exhaust + 3);
  EXPECT_EQ(ship->rotation, 4);
}

TEST(ShipControl, BubbleEveryFrameAtFullSpeedLeftButNotRight) {
  freshHeadless();
  EntityList<bubble> bubbles;
  auto left = player::Create();
  left->y = 300;
  left->xVel = -3.5f;
  for (int i = 0; i < 8; ++i) left->Update(-0.5f, 0, 0, bubbles);
  EXPECT_EQ(bubbles.size(), 8u);

  bubbles.clear();
  auto right = player::Create();
  right->y = 300;
  right->xVel = 3.5f;
  for (int i = 0; i < 8; ++i) right->Update(0.5f, 0, 0, bubbles);
  EXPECT_EQ(bubbles.size(), 1u);  // only the every-8th-frame bubble
}

TEST(ShipControl, TiltLeansOneDegreePerFrameAndBothButtonsStayUpright) {
  freshHeadless();
  EntityList<bubble> bubbles;
  auto ship = player::Create();
  pf::inputState().keyPressed(settings.fire1key);
  for (int i = 0; i < 30; ++i) ship->Update(0, 0, 0, bubbles);
  EXPECT_EQ(ship->rotation, -25);
  pf::inputState().keyPressed(settings.fire2key);
  for (int i = 0; i < 3; ++i) {
    ship->Update(0, 0, 0, bubbles);
    EXPECT_EQ(ship->rotation, 0);
  }
  pf::inputState().keyReleased(settings.fire1key);
  for (int i = 0; i < 30; ++i) ship->Update(0, 0, 0, bubbles);
  EXPECT_EQ(ship->rotation, 25);
}

TEST(Firing, SideGunsSweepWithTheSessionClock) {
  auto g = newRun();
  g->p1->x = 400;
  g->p1->y = 500;
  g->powerlevel = 2;
  g->gametimer = 90;
  g->p1->fireMainGuns(g->weapons());
  std::vector<float> angles;
  g->bulletlist.forEach([&](bullet& b) { angles.push_back(b.angle); });
  ASSERT_EQ(angles.size(), 4u);
  EXPECT_FLOAT_EQ(angles[2], 238);
  EXPECT_FLOAT_EQ(angles[3], 302);
}

TEST(Firing, GunsFireEveryEighthFrameWhileHeld) {
  auto g = newRun();
  skipEntry(*g);
  pf::inputState().keyPressed(settings.fire1key);
  pf::inputState().keyPressed(settings.fire2key);
  int volleys = 0;
  for (int i = 0; i < 80; ++i) {
    runFrames(*g, 1);
    int fresh = 0;  // fired this frame: updated once so far
    g->bulletlist.forEach([&](bullet& b) { fresh += b.timer == 1 ? 1 : 0; });
    if (fresh > 0) {
      EXPECT_EQ(fresh, 2);
      ++volleys;
    }
  }
  EXPECT_EQ(volleys, 10);
}

TEST(Specials, KeyAndJoystickBothTriggerInOneFrame) {
  auto g = newRun();
  skipEntry(*g);
  settings.usejoy = 1;
  pf::inputState().setJoystickCount(1);
  pf::inputState().joyButton(0, settings.jBombButton, true);
  pf::inputState().keyPressed(settings.fire3key);
  g->bombs = 100;
  runFrames(*g, 1);
  EXPECT_EQ(g->bombs, 96);
  std::vector<float> damages;
  g->missilelist.forEach([&](missile& m) { damages.push_back(m.damage); });
  EXPECT_EQ(damages, (std::vector<float>{8, 8, 5, 5}));
}

TEST(Specials, LastEnergyPointStillFiresAndBlocksUntilRefilled) {
  auto g = newRun();
  skipEntry(*g);
  pf::inputState().keyPressed(settings.fire3key);
  g->bombs = 1;
  g->bombtimer = 0;
  runFrames(*g, 1);
  EXPECT_EQ(g->bombs, -1);
  EXPECT_EQ(g->missilelist.size(), 2u);
  runFrames(*g, 30);
  EXPECT_EQ(g->missilelist.size(), 2u);
}

TEST(Specials, EnergyNeverExceeds100AndKillsRefundBelowIt) {
  auto g = newRun();
  runFrames(*g, 600);
  EXPECT_EQ(g->bombs, 100);

  Dummy::spawn(*g, 300, 200);
  addStillBullet(*g, 300, 200);
  runFrames(*g, 1);
  EXPECT_EQ(g->killcount, 1);
  EXPECT_EQ(g->bombs, 100);

  g->bombs = 50;
  g->bombtimer = 0;
  Dummy::spawn(*g, 300, 200);
  addStillBullet(*g, 300, 200);
  runFrames(*g, 1);
  EXPECT_EQ(g->killcount, 2);
  EXPECT_EQ(g->bombs, 51);
}

TEST(CollisionPasses, ADeadEnemyHitAgainInTheSameFrameBooksAnotherKill) {
  auto g = newRun();
  Dummy* d = Dummy::spawn(*g, 300, 200);
  d->score = 10;
  addStillBullet(*g, 300, 200);
  addStillBullet(*g, 300, 200);
  runFrames(*g, 1);
  EXPECT_EQ(g->killcount, 2);
  EXPECT_EQ(g->score, (10 + 1) + (10 + 2));
  EXPECT_TRUE(g->enemylist.empty());
  EXPECT_TRUE(g->bulletlist.empty());
}

TEST(CollisionPasses, AnEnemyLeavingByItsOwnUpdateStillCollidesThatFrame) {
  auto g = newRun();
  Dummy* d = Dummy::spawn(*g, 300, 200);
  d->leaveOnUpdate = 1;
  addStillBullet(*g, 300, 200);
  runFrames(*g, 1);
  EXPECT_EQ(g->killcount, 1);
  EXPECT_TRUE(g->enemylist.empty());
}

TEST(CollisionPasses, AHitThatDoesNotKillFlashesAndUsesUpTheBullet) {
  auto g = newRun();
  Dummy* d = Dummy::spawn(*g, 300, 200, 3);
  addStillBullet(*g, 300, 200);
  runFrames(*g, 1);
  EXPECT_EQ(g->killcount, 0);
  EXPECT_FLOAT_EQ(d->energy, 2);
  EXPECT_TRUE(g->bulletlist.empty());
  EXPECT_EQ(g->explosionlist.size(), 1u);
}

TEST(CollisionPasses, EnemiesAboveTheAttackLineCannotBeShot) {
  auto g = newRun();
  Dummy* d = Dummy::spawn(*g, 300, 4);
  addStillBullet(*g, 300, 4);
  runFrames(*g, 1);
  EXPECT_EQ(g->killcount, 0);
  EXPECT_FLOAT_EQ(d->energy, 1);
}

TEST(CollisionPasses, AMissileThatHitKeepsTestingTheRemainingEnemies) {
  auto g = newRun();
  Dummy::spawn(*g, 400, 298);
  Dummy::spawn(*g, 400, 298);
  g->missilelist.add(missile::Create(400, 300, 270));
  runFrames(*g, 1);
  EXPECT_EQ(g->killcount, 2);
  EXPECT_TRUE(g->missilelist.empty());
}

TEST(CollisionPasses, MissilesWithoutTargetsHeadForTheTopCentre) {
  auto g = newRun();
  missile* m = g->missilelist.add(missile::Create(200, 400, 0));
  const float x = m->x, y = m->y;
  runFrames(*g, 1);
  EXPECT_FLOAT_EQ(m->angle, angleTo(x, y, 400, -100));

  // Enemy bullets are not targets either.
  Dummy* shot = Dummy::spawn(*g, 600, 100);
  shot->isbullet = 1;
  const float x2 = m->x, y2 = m->y;
  runFrames(*g, 1);
  EXPECT_FLOAT_EQ(m->angle, angleTo(x2, y2, 400, -100));
}

TEST(CollisionPasses, KillScoreIsComputedIn32Bits) {
  auto g = newRun();
  g->killcount = 99999;
  g->multiplier = 30000;
  Dummy::spawn(*g, 300, 200);
  addStillBullet(*g, 300, 200);
  runFrames(*g, 1);
  // 100000 x 30000 does not fit in 32 bits and wraps.
  EXPECT_EQ(g->score, static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(3000000000u))));
}

TEST(BulletPass, ABulletRetiredThisFrameStillLeavesItsTrail) {
  auto g = newRun();
  addStillBullet(*g, -5, 300);
  runFrames(*g, 1);
  EXPECT_TRUE(g->bulletlist.empty());
  EXPECT_EQ(g->particlelist.size(), 2u);
}

TEST(Pause, EscapePausesInItsOwnFrameAndOnlyDrawResumesOrQuits) {
  auto g = newRun();
  runFrames(*g, 10);
  pf::inputState().keyPressed(pf::vk::kEscape);
  pf::inputState().keyReleased(pf::vk::kEscape);
  EXPECT_EQ(g->Update(), 0);
  EXPECT_EQ(g->gametimer, 11);  // the frame completed
  EXPECT_EQ(program.paused, 1);
  runFrames(*g, 5);
  EXPECT_EQ(g->gametimer, 11);

  pf::inputState().keyPressed(pf::vk::kEscape);
  runFrames(*g, 1);
  EXPECT_EQ(program.paused, 0);

  pf::inputState().keyPressed(pf::vk::kEscape);
  runFrames(*g, 1);
  ASSERT_EQ(program.paused, 1);
  pf::inputState().keyPressed(pf::vk::kQ);
  g->Draw();
  EXPECT_EQ(g->quitnow, 1);
  EXPECT_EQ(program.paused, 0);
  EXPECT_FALSE(pf::keyDown(pf::vk::kQ));  // flushed
  EXPECT_EQ(g->Update(), 1);
}

TEST(Drawing, ShipOneIsAGlowAndAWhiteCore) {
  auto g = newRun();
  auto& display = *static_cast<pf::HeadlessBackend*>(pf::displayBackend());
  g->p1->x = 300;
  g->p1->y = 400;
  display.setRecording(true);
  g->p1->paint();
  const auto& calls = display.calls();
  ASSERT_GE(calls.size(), 2u);
  const pf::DrawCall& glow = calls[0];
  EXPECT_EQ(glow.image, &assets.blobImage());
  EXPECT_EQ(glow.blend, pf::kBlendLight);
  EXPECT_EQ(glow.r, 200);
  EXPECT_EQ(glow.b, 100);
  EXPECT_NEAR(glow.alpha, 0.4f, 0.005f);
  // 64 pixels at scale 1.5, centred on the ship.
  EXPECT_FLOAT_EQ(glow.x[0], 300 - 48);
  EXPECT_FLOAT_EQ(glow.y[0], 400 - 48);
  EXPECT_FLOAT_EQ(glow.x[2], 300 + 48);
  const pf::DrawCall& core = calls[1];
  EXPECT_EQ(core.r, 255);
  EXPECT_FLOAT_EQ(core.alpha, 1);
  EXPECT_NEAR((core.y[0] + core.y[2]) / 2, 389, 1e-4);
  EXPECT_NEAR(core.x[2] - core.x[0], 64 * 0.11f, 1e-4);
}
