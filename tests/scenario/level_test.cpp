// The level timeline, pick-ups and scoring, the HUD and the three ends of a run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "platform/backend.hpp"
#include "platform/platform.hpp"
#include "scenario_support.hpp"

namespace {

pf::HeadlessBackend& display() { return *static_cast<pf::HeadlessBackend*>(pf::displayBackend()); }

// The texts one Draw call writes.
std::vector<std::string> drawnTexts(game& g) {
  display().clearCalls();
  display().setRecording(true);
  g.Draw();
  display().setRecording(false);
  std::vector<std::string> texts;
  for (const pf::DrawCall& c : display().calls()) {
    if (c.kind == pf::DrawCall::Kind::Text) texts.push_back(c.text);
  }
  return texts;
}

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  for (const std::string& t : texts) {
    if (t == text) return true;
  }
  return false;
}

bool hasText(game& g, const std::string& message) {
  bool found = false;
  g.textlist.forEach([&](Text& t) { found |= t.message == message; });
  return found;
}

// A quiet stretch of the level: past every spawn, before the boss; the ship
// has finished its entry and rests.
void skipToQuietWater(game& g) {
  g.gametimer = 10000;
  skipEntry(g);
  runFrames(g, 30);
}

// A pick-up right on the resting ship, not updated yet (its box set by hand,
// as its first update would).
bonus* dropOnShip(game& g, int btype) {
  g.p1->y = 340;  // pick-ups never appear below y 350
  bonus* b = g.bonuslist.add(bonus::Create(g.p1->x, g.p1->y - 10, btype));
  b->collrect = Rect{b->x - 20, b->y - 20, 40, 40};
  return b;
}

}  // namespace

TEST(Timeline, AWindowSpawnsOnItsMultiplesAndNeitherEnd) {
  auto g = newRun();
  g->lives = 1000;  // the idle ship may be rammed; that must not end the run
  std::vector<int> spawnFrames;
  size_t before = 0;
  while (g->gametimer < 600) {
    runFrames(*g, 1);
    if (g->enemylist.size() > before) spawnFrames.push_back(g->gametimer);
    before = g->enemylist.size();
  }
  const std::vector<int> expected = {200, 240, 280, 320, 360, 400, 440, 480, 520, 560, 600};
  EXPECT_EQ(spawnFrames, expected);  // 600 is the first frame of the next, denser window
}

TEST(Timeline, TitleAndWarningTexts) {
  auto g = newRun();
  runFrames(*g, 60);
  EXPECT_TRUE(hasText(*g, "Level 1"));
  runFrames(*g, 30);
  EXPECT_TRUE(hasText(*g, "Neon Ocean"));
  g->gametimer = 10799;
  runFrames(*g, 1);
  EXPECT_TRUE(hasText(*g, "WARNING!"));
}

TEST(Timeline, BossMusicReplacesTheLevelTrackOnlyWhenItPlays) {
  auto g = newRun();
  ASSERT_TRUE(pf::channelPlaying(assets.musicLevel.channel));
  g->gametimer = 10899;
  runFrames(*g, 1);
  EXPECT_FALSE(pf::channelPlaying(assets.musicLevel.channel));
  EXPECT_TRUE(pf::channelPlaying(assets.musicBoss.channel));
  pf::stopChannel(assets.musicBoss.channel);

  settings.music = 0;
  auto quiet = game::Create(1);
  EXPECT_FALSE(pf::channelPlaying(assets.musicLevel.channel));
  quiet->gametimer = 10899;
  runFrames(*quiet, 1);
  EXPECT_FALSE(pf::channelPlaying(assets.musicBoss.channel));
}

TEST(Timeline, TheLevelEndsOnlyOnceTheFieldIsClearAfterTheBossFrame) {
  auto g = newRun();
  g->gametimer = 11100;
  Dummy* straggler = Dummy::spawn(*g, 300, 100);
  runFrames(*g, 5);
  EXPECT_EQ(g->bossdead, 0);
  g->enemylist.remove(straggler);
  runFrames(*g, 1);
  EXPECT_EQ(g->bossdead, 1);
  EXPECT_EQ(g->timeup, 0);
}

TEST(PickUps, DropsStayReachableAndCollectingOneStillUpdatesItOnce) {
  auto g = newRun();
  EXPECT_EQ(bonus::Create(300, 500, 0)->y, 350);
  EXPECT_EQ(bonus::Create(300, 200, 0)->y, 200);

  skipToQuietWater(*g);
  bonus* p = dropOnShip(*g, 0);
  ASSERT_EQ(p->t, 0);
  g->explosionlist.clear();
  runFrames(*g, 1);
  EXPECT_TRUE(g->bonuslist.empty());
  EXPECT_EQ(g->powerlevel, 2);
  EXPECT_EQ(g->totalpowerups, 1);
  EXPECT_TRUE(hasText(*g, "power up"));
  // Its first-update flash appears although it is already gone.
  EXPECT_EQ(g->explosionlist.size(), 1u);
}

TEST(PickUps, MultiplierPickUpAtOneAdds4000) {
  auto g = newRun();
  skipToQuietWater(*g);
  dropOnShip(*g, 1);
  runFrames(*g, 1);
  EXPECT_EQ(g->multiplier, 2);
  EXPECT_EQ(g->score, 4000);
  EXPECT_TRUE(hasText(*g, "multiplier +1"));
}

TEST(PickUps, PowerUpAtFullPowerCountsWithoutText) {
  auto g = newRun();
  skipToQuietWater(*g);
  g->powerlevel = 5;
  dropOnShip(*g, 0);
  runFrames(*g, 1);
  EXPECT_EQ(g->powerlevel, 5);
  EXPECT_EQ(g->totalpowerups, 1);
  EXPECT_FALSE(hasText(*g, "power up"));
}

TEST(PickUps, EveryFiftiethKillDropsPowerThenMultiplier) {
  auto g = newRun();
  skipToQuietWater(*g);
  g->killcount = 49;
  Dummy::spawn(*g, 300, 500);
  g->missilelist.add(missile::Create(300, 502, 270));  // kills through the missile pass
  runFrames(*g, 1);
  ASSERT_EQ(g->killcount, 50);
  ASSERT_EQ(g->bonuslist.size(), 1u);
  EXPECT_EQ(g->bonuslist.first()->btype, 0);
  EXPECT_EQ(g->bonuslist.first()->y, 350.5f);  // placed at 350, then moved once

  g->powerlevel = 5;
  g->killcount = 99;
  Dummy::spawn(*g, 300, 200);
  g->bulletlist.add(bullet::Create(300, 200, 270, 0, assets.blobImage(), 1, 4, 255, 255, 255, 1, 0.1f, 0, 0, 1));
  runFrames(*g, 1);
  ASSERT_EQ(g->killcount, 100);
  EXPECT_EQ(g->bonuslist.last()->btype, 1);
}

TEST(Hud, PowerLineAndBossClockAppearWhenDue) {
  auto g = newRun();
  g->powerlevel = 4;
  g->gametimer = 10599;
  auto texts = drawnTexts(*g);
  EXPECT_TRUE(contains(texts, "power x4"));
  EXPECT_TRUE(contains(texts, "Score  0"));
  EXPECT_TRUE(contains(texts, "x 3"));
  EXPECT_FALSE(contains(texts, "Time: 100"));

  g->powerlevel = 5;
  g->gametimer = 10600;
  texts = drawnTexts(*g);
  EXPECT_TRUE(contains(texts, "max power"));
  EXPECT_FALSE(contains(texts, "power x5"));
  EXPECT_TRUE(contains(texts, "Time: 100"));
}

TEST(Hud, EnergyBarHasOneSegmentPerPoint) {
  auto g = newRun();
  const auto blobDraws = [&] {
    display().clearCalls();
    display().setRecording(true);
    g->Draw();
    display().setRecording(false);
    int n = 0;
    for (const pf::DrawCall& c : display().calls()) n += c.image == &assets.blobImage() ? 1 : 0;
    return n;
  };
  g->bombs = 0;
  const int empty = blobDraws();
  g->bombs = 100;
  EXPECT_EQ(blobDraws() - empty, 200);  // a coloured segment and a white spark each
}

TEST(LevelEnd, GameOverTextAfter60FramesAndFade141FramesLater) {
  auto g = newRun();
  skipToQuietWater(*g);
  g->lives = 0;
  Dummy* rammer = Dummy::spawn(*g, g->p1->x, g->p1->y - 10);
  rammer->halfSize = 40;
  runFrames(*g, 1);
  ASSERT_EQ(g->lives, -1);
  g->enemylist.clear();
  runFrames(*g, 59);
  EXPECT_FALSE(hasText(*g, "GAME OVER"));
  runFrames(*g, 1);
  EXPECT_TRUE(hasText(*g, "GAME OVER"));
  runFrames(*g, 140);
  EXPECT_EQ(g->fadeout, 0);
  runFrames(*g, 1);
  EXPECT_EQ(g->fadeout, 1);
  int frames = 0;
  while (runFrames(*g, 1) == 0) ++frames;
  EXPECT_NEAR(frames, 109, 1);  // until the fade reaches 1.1
}

TEST(LevelEnd, CompletionTallyForAPerfectRun) {
  auto g = newRun();
  g->gametimer = 11200;
  g->bossdead = 1;
  g->killcount = 200;
  g->bosstimer = 90;
  g->multiplier = 1;
  const int64_t before = g->score;
  int result = 0;
  while (g->bossdeadtimer < 800) result = runFrames(*g, 1);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(g->lives, 3);
  EXPECT_EQ(g->score - before, 200 + 90000 + 30000 + 1000000);
  EXPECT_EQ(g->gotperfect, 1);
  EXPECT_TRUE(hasText(*g, "PERFECT"));
  EXPECT_EQ(g->gamecompleted, 0);
  while (runFrames(*g, 1) == 0) {
  }
  EXPECT_EQ(g->gamecompleted, 1);
  EXPECT_EQ(g->gamefailed, 0);
}

TEST(LevelEnd, TheBossClockRunningOutFailsTheLevel) {
  auto g = newRun();
  g->gametimer = 11100;
  g->bosstimer = 1;
  Dummy::spawn(*g, 300, 100);
  runFrames(*g, 60);
  EXPECT_EQ(g->bosstimer, 0);
  EXPECT_EQ(g->timeup, 1);
  EXPECT_EQ(g->bossdead, 1);
  EXPECT_TRUE(g->enemylist.empty());
  while (g->bossdeadtimer < 350) runFrames(*g, 1);
  EXPECT_TRUE(hasText(*g, "Level Failed"));
  while (runFrames(*g, 1) == 0) {
  }
  EXPECT_EQ(g->gamefailed, 1);
  EXPECT_EQ(g->gamecompleted, 0);
}

TEST(Achievements, AMultiplierAchievementIsEarnedOnlyOnceEver) {
  auto g = newRun();
  skipToQuietWater(*g);
  g->multiplier = 20;
  runFrames(*g, 1);
  EXPECT_EQ(program.achievementFlags[5], 1);
  EXPECT_EQ(g->achievementlist.size(), 1u);
  g->multiplier = 1;
  runFrames(*g, 1);
  g->multiplier = 20;
  runFrames(*g, 1);
  EXPECT_EQ(g->achievementlist.size(), 1u);

  // A later run starts with the flag already held.
  auto next = game::Create(1);
  next->multiplier = 20;
  runFrames(*next, 1);
  EXPECT_TRUE(next->achievementlist.empty());
}
