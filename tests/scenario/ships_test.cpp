// Ships two to six in a run: their volleys at power 1 and 5, what their
// specials cost, ship three's split, ship four's option stars, ship five's
// multiplier and ship six's full-power extras.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "platform/input_state.hpp"
#include "scenario_support.hpp"
#include "ships/particlebeam.hpp"
#include "ships/player2.hpp"
#include "ships/player3.hpp"
#include "ships/player5.hpp"
#include "ships/ship5bullet.hpp"
#include "ships/ship_registry.hpp"

namespace {

struct Shot {
  float heading;  // 0 to 360
  float damage;
  float x, y;

  bool operator<(const Shot& o) const {
    return std::tie(heading, damage, x, y) < std::tie(o.heading, o.damage, o.x, o.y);
  }
};

float heading(float angle) {
  const float h = std::fmod(angle, 360.0f);
  return h < 0 ? h + 360 : h;
}

// Every shot in the bullet list, sorted, so a volley compares as a set.
std::vector<Shot> shots(game& g) {
  std::vector<Shot> out;
  g.bulletlist.forEach([&](bullet& b) { out.push_back({heading(b.angle), b.damage, b.oldX, b.oldY}); });
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<float> headings(game& g) {
  std::vector<float> out;
  for (const Shot& s : shots(g)) out.push_back(s.heading);
  return out;
}

std::vector<float> damages(game& g) {
  std::vector<float> out;
  g.bulletlist.forEach([&](bullet& b) { out.push_back(b.damage); });
  std::sort(out.begin(), out.end());
  return out;
}

// A run of the ship, parked at (400, 500) with its buttons as given, at the
// power level and on the bullet-clock value given.
std::unique_ptr<game> armed(int ship, int power, int bulletTimer, int fire1 = 1, int fire2 = 1) {
  auto g = newRun(ship);
  g->p1->x = 400;
  g->p1->y = 500;
  g->p1->fire1 = fire1;
  g->p1->fire2 = fire2;
  g->powerlevel = power;
  g->bulletTimer = bulletTimer;
  return g;
}

void volley(game& g) {
  g.p1->fireOwnPatterns(g.weapons());
  g.p1->fireMainGuns(g.weapons());
}

// Holds the special key for some frames with the energy refill held off.
void holdSpecial(game& g, int frames) {
  skipEntry(g);
  g.bombtimer = 0;
  pf::inputState().keyPressed(settings.fire3key);
  runFrames(g, frames);
  pf::inputState().keyReleased(settings.fire3key);
}

}  // namespace

TEST(ShipVolleys, ShipTwoGunsAtPowerOneAndFive) {
  auto g = armed(2, 1, 40);
  volley(*g);
  EXPECT_EQ(headings(*g), (std::vector<float>{270, 270}));
  EXPECT_EQ(damages(*g), (std::vector<float>{1, 1}));

  // On every fourth volley all five rows fire, the red streak last.
  g = armed(2, 5, 160);
  volley(*g);
  EXPECT_EQ(headings(*g), std::vector<float>(9, 270));
  EXPECT_EQ(damages(*g), (std::vector<float>{1, 1, 1.5f, 1.5f, 1.5f, 1.5f, 2, 2, 5}));
  const bullet* streak = g->bulletlist.last();
  EXPECT_EQ(streak->alpha, 0.5f);
  EXPECT_EQ(streak->xScale, 3);
  EXPECT_EQ(streak->r, 255);
  EXPECT_EQ(streak->g, 0);

  // A plain volley between them has neither the mod-80 nor the mod-160 rows.
  g = armed(2, 5, 120);
  volley(*g);
  EXPECT_EQ(g->bulletlist.size(), 6u);
}

TEST(ShipVolleys, ShipThreeFanAtPowerOneAndFive) {
  auto g = armed(3, 1, 40);
  volley(*g);
  EXPECT_EQ(headings(*g), (std::vector<float>{258, 270, 282}));
  EXPECT_EQ(damages(*g), (std::vector<float>{0.7f, 0.7f, 0.7f}));

  g = armed(3, 5, 80);
  volley(*g);
  EXPECT_EQ(headings(*g), (std::vector<float>{188, 248, 258, 267, 270, 270, 273, 282, 292, 352}));
  EXPECT_EQ(damages(*g), (std::vector<float>{0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 2, 2, 4}));
}

TEST(ShipVolleys, ShipFourFiresFromTheShipAndEveryOptionStar) {
  auto g = armed(4, 1, 40, 1, 0);
  volley(*g);
  ASSERT_EQ(shots(*g).size(), 1u);
  EXPECT_EQ(shots(*g)[0].heading, 270);
  EXPECT_EQ(shots(*g)[0].damage, 2);

  // Power shows only as option stars: four power-ups give four more guns.
  g = armed(4, 5, 40, 1, 0);
  for (int i = 0; i < 6; ++i) g->p1->powerUpCollected();
  EXPECT_EQ(g->p1->tail.size(), 5u);
  volley(*g);
  EXPECT_EQ(headings(*g), std::vector<float>(5, 270));

  // Sideways: the ship is turned by 90 degrees, the shots leave at 180 and 0.
  g->bulletlist.clear();
  g->p1->fire1 = 0;
  g->p1->fire2 = 1;
  g->p1->rotation = 90;
  volley(*g);
  std::vector<float> expected(5, 0);
  expected.insert(expected.end(), 5, 180);
  EXPECT_EQ(headings(*g), expected);
}

TEST(ShipVolleys, ShipFiveMissilesAndLaserAtPowerOneAndFive) {
  auto g = armed(5, 1, 60, 1, 0);
  volley(*g);
  ASSERT_EQ(g->missilelist.size(), 1u);
  const missile* m = g->missilelist.first();
  EXPECT_EQ(m->Direction, 270);
  EXPECT_EQ(m->damage, 0.75f);
  EXPECT_EQ(m->red, 0);
  EXPECT_EQ(m->green, 255);
  EXPECT_EQ(m->y, 490);
  // Every 12th frame at power 1: not on the 8th.
  g = armed(5, 1, 40, 1, 0);
  volley(*g);
  EXPECT_TRUE(g->missilelist.empty());

  g = armed(5, 5, 30, 1, 0);
  volley(*g);
  std::vector<float> directions;
  g->missilelist.forEach([&](missile& mm) {
    directions.push_back(mm.Direction);
    EXPECT_EQ(mm.damage, 2);
    EXPECT_EQ(mm.red, 255);  // yellow
  });
  EXPECT_EQ(directions, (std::vector<float>{260, 280}));

  // The laser: a pair half a turn apart, thicker and stronger with power.
  for (const int power : {1, 5}) {
    g = armed(5, power, 20, 0, 1);
    g->gametimer = 10;
    volley(*g);
    std::vector<float> phases;
    g->bulletlist.forEach([&](bullet& b) {
      ASSERT_NE(dynamic_cast<ship5bullet*>(&b), nullptr);
      phases.push_back(b.angle);
      EXPECT_FLOAT_EQ(b.xScale, 0.5f * static_cast<float>(power) / 3);
      EXPECT_FLOAT_EQ(b.damage, 0.2f * static_cast<float>(power));
      EXPECT_EQ(b.Y, 530);
    });
    EXPECT_EQ(phases, (std::vector<float>{210, 30}));
  }
}

TEST(ShipVolleys, ShipFiveAtPowerThreeLaunchesAMissileEveryEighthFrame) {
  auto g = newRun(5);
  skipEntry(*g);
  g->powerlevel = 3;
  pf::inputState().keyPressed(settings.fire1key);
  const int64_t before = g->shotsCreated.missiles;
  runFrames(*g, 80);
  EXPECT_EQ(g->shotsCreated.missiles - before, 10);
}

TEST(ShipVolleys, ShipSixGrowsWithPowerAndAddsExtrasOnlyWithAllLives) {
  auto g = armed(6, 1, 60);
  volley(*g);
  ASSERT_EQ(g->bulletlist.size(), 1u);
  EXPECT_EQ(g->bulletlist.first()->damage, 5);
  EXPECT_FLOAT_EQ(g->bulletlist.first()->yscale, 0.2f);
  g = armed(6, 1, 40);
  volley(*g);
  EXPECT_TRUE(g->bulletlist.empty());  // every 12th frame only

  // On a frame of all three cadences: the shot, the red side shots, the
  // spray, the spread pair, the outriggers and four missiles.
  g = armed(6, 5, 120);
  g->gametimer = 0;
  volley(*g);
  EXPECT_EQ(damages(*g), (std::vector<float>{1, 1, 1, 1, 1, 1, 2, 2, 10, 10, 25}));
  EXPECT_EQ(headings(*g), (std::vector<float>{45, 135, 225, 225, 245.5f, 270, 270, 270, 292.5f, 315, 315}));
  std::vector<int> reds;
  g->missilelist.forEach([&](missile& m) { reds.push_back(m.red); });
  EXPECT_EQ(reds, (std::vector<int>{0, 0, 255, 0}));

  // One life lost: none of the extras, even at power 5.
  g = armed(6, 5, 120);
  g->lives = 2;
  volley(*g);
  EXPECT_EQ(damages(*g), (std::vector<float>{25}));
  EXPECT_TRUE(g->missilelist.empty());
}

TEST(ShipSpecials, EnergyCostPerShip) {
  // Ship two: one point per frame held, two beams each frame.
  auto g = newRun(2);
  skipEntry(*g);
  g->bombs = 50;
  holdSpecial(*g, 4);
  EXPECT_EQ(g->bombs, 46);
  EXPECT_EQ(g->shotsCreated.beams, 8);

  // Ships three and five: one point on every even frame.
  for (const int ship : {3, 5}) {
    g = newRun(ship);
    skipEntry(*g);
    g->bombs = 50;
    holdSpecial(*g, 4);
    EXPECT_EQ(g->bombs, 48) << "ship " << ship;
  }
  EXPECT_EQ(g->shotsCreated.rings, 0);  // ship five makes no rings
  g = newRun(3);
  skipEntry(*g);
  holdSpecial(*g, 4);
  EXPECT_EQ(g->shotsCreated.rings, 4);

  // Ship four: everything at once into one fire; held on, nothing more.
  g = newRun(4);
  skipEntry(*g);
  g->bombs = 37;
  holdSpecial(*g, 5);
  EXPECT_EQ(g->bombs, 0);
  ASSERT_EQ(g->firelist.size(), 1u);
  EXPECT_EQ(g->firelist.first()->bits, 37);

  // Ship six has no special: nothing is spent or made.
  g = newRun(6);
  skipEntry(*g);
  g->bombs = 50;
  holdSpecial(*g, 4);
  EXPECT_EQ(g->bombs, 50);
  const ShotTally& made = g->shotsCreated;
  EXPECT_EQ(made.beams + made.rings + made.fires + made.missiles + made.bullets, 0);
}

TEST(ShipSpecials, BeamSizeFollowsTheEnergyLeft) {
  auto g = armed(2, 1, 0);
  const auto beamSize = [&](int bombs) {
    g->bulletlist.clear();
    g->bombs = bombs;
    g->p1->special(g->weapons(), SpecialTrigger::Key);
    return static_cast<particlebeam*>(g->bulletlist.first())->xscalemax;
  };
  EXPECT_EQ(beamSize(20), 0.5f);  // 19 left
  EXPECT_EQ(beamSize(21), 1.5f);  // 20 left
  EXPECT_EQ(beamSize(100), 4.5f);
  EXPECT_EQ(beamSize(1), 0.5f);
}

TEST(ShipSpecials, ShipFiveMultipliesDamageWhileMoreThanOnePointIsLeft) {
  auto g = newRun(5);
  skipEntry(*g);
  g->bombtimer = 0;
  g->p1->y = 500;
  pf::inputState().keyPressed(settings.fire3key);
  // A bullet of damage 1 kills an enemy of energy 10 only fifteen-fold.
  Dummy::spawn(*g, 300, 200, 10);
  g->bulletlist.add(bullet::Create(300, 200, 270, 0, assets.blobImage(), 1, 4, 255, 255, 255, 1, 0.1f, 0, 0, 1));
  runFrames(*g, 1);
  EXPECT_EQ(g->damagemultiplier, 15);
  EXPECT_EQ(g->killcount, 1);

  // The screen trails: the clear fades by 0.02 a frame down to 0.2.
  runFrames(*g, 10);
  EXPECT_NEAR(g->clsalpha, 0.6f - 11 * 0.02f, 1e-5);
  runFrames(*g, 20);
  EXPECT_EQ(g->clsalpha, 0.2f);

  // Two points on an even frame: one is taken and the multiplier stays off.
  g->bombs = 2;
  if (g->gametimer % 2 == 0) runFrames(*g, 1);
  g->bombs = 2;
  runFrames(*g, 1);
  EXPECT_EQ(g->gametimer % 2, 0);
  EXPECT_EQ(g->bombs, 1);
  EXPECT_EQ(g->damagemultiplier, 1);

  // Released, the clear comes back by 0.025 a frame.
  pf::inputState().keyReleased(settings.fire3key);
  const float faded = g->clsalpha;
  runFrames(*g, 1);
  EXPECT_NEAR(g->clsalpha, faded + 0.025f, 1e-6);
}

TEST(ShipThreeSplit, AtPowerFourAShotSplitsEveryFifteenFrames) {
  auto g = newRun(3);
  g->powerlevel = 4;
  g->bulletlist.add(
      bullet::Create(400, 590, 270, 20, assets.blobImage(), 1, 4, 255, 255, 0, 0.7f, 0.1f, 1.5f, 0, 0.8f));
  runFrames(*g, 14);
  EXPECT_EQ(g->bulletlist.size(), 1u);
  runFrames(*g, 1);
  EXPECT_EQ(headings(*g), (std::vector<float>{264, 276}));
  EXPECT_EQ(damages(*g), (std::vector<float>{0.4f, 0.4f}));
  for (const Shot& s : shots(*g)) {
    EXPECT_FLOAT_EQ(s.x, 400);
    EXPECT_FLOAT_EQ(s.y, 590 - 1.5f - 15 * 20);
  }
  // The pieces had their first update in the frame they were made, so their
  // 15th comes 14 frames later.
  runFrames(*g, 13);
  EXPECT_EQ(g->bulletlist.size(), 2u);
  runFrames(*g, 1);
  EXPECT_EQ(headings(*g), (std::vector<float>{258, 270, 270, 282}));
  EXPECT_EQ(damages(*g), std::vector<float>(4, 0.2f));
}

TEST(ShipThreeSplit, NoSplitBelowPowerFourButAlsoOfAShotLeavingTheField) {
  auto g = newRun(3);
  g->powerlevel = 3;
  g->bulletlist.add(
      bullet::Create(400, 590, 270, 20, assets.blobImage(), 1, 4, 255, 255, 0, 0.7f, 0.1f, 1.5f, 0, 0.7f));
  runFrames(*g, 16);
  EXPECT_EQ(g->bulletlist.size(), 1u);

  // This shot leaves above the field on its 15th update: it is removed, but
  // the rest of its step still runs, so it splits there and its two pieces
  // leave in their first update, in the same pass.
  g = newRun(3);
  g->powerlevel = 4;
  g->bulletlist.add(
      bullet::Create(400, 250, 270, 20, assets.blobImage(), 1, 4, 255, 255, 0, 0.7f, 0.1f, 1.5f, 0, 0.7f));
  runFrames(*g, 14);
  EXPECT_EQ(g->bulletlist.size(), 1u);
  runFrames(*g, 1);
  EXPECT_TRUE(g->bulletlist.empty());
  EXPECT_EQ(g->shotsCreated.bullets, 2);
}

TEST(ShipFourStars, GainedOnPowerUpsAndLostWithLives) {
  auto g = newRun(4);
  skipEntry(*g);
  g->p1->y = 300;
  runFrames(*g, 1);
  EXPECT_EQ(g->p1->tail.size(), 1u);  // the head only
  // A "P" collected by the ship brings a star 50 pixels behind the last point.
  g->bonuslist.add(bonus::Create(g->p1->x, g->p1->y, 0));
  runFrames(*g, 2);
  EXPECT_TRUE(g->bonuslist.empty());
  ASSERT_EQ(g->p1->tail.size(), 2u);
  EXPECT_EQ(g->p1->tail.last()->Length, 50);

  // At most four stars, even after more power-ups.
  for (int i = 0; i < 5; ++i) g->p1->powerUpCollected();
  EXPECT_EQ(g->p1->tail.size(), 5u);

  // A lost life takes the last star.
  g->powerlevel = 5;
  Dummy* d = Dummy::spawn(*g, g->p1->x, g->p1->y - 10);
  d->halfSize = 40;
  runFrames(*g, 1);
  EXPECT_EQ(g->lives, 2);
  EXPECT_EQ(g->p1->tail.size(), 4u);
}

TEST(ShipFourStars, AnEmptyTailGrowsAgainFromTheShip) {
  auto g = armed(4, 1, 40, 1, 0);
  g->p1->lifeLost();  // the head goes too
  EXPECT_TRUE(g->p1->tail.empty());
  g->p1->lifeLost();  // nothing left to lose
  EXPECT_TRUE(g->p1->tail.empty());
  volley(*g);
  EXPECT_EQ(g->bulletlist.size(), 1u);  // the ship still fires

  g->p1->powerUpCollected();
  ASSERT_EQ(g->p1->tail.size(), 1u);
  const TailPoint* head = g->p1->tail.first();
  EXPECT_EQ(head->x, 400);
  EXPECT_EQ(head->y, 500);
  EXPECT_EQ(head->Length, 0);
  // The new head is no star; the next point is.
  g->bulletlist.clear();
  volley(*g);
  EXPECT_EQ(g->bulletlist.size(), 1u);
  g->p1->powerUpCollected();
  EXPECT_EQ(g->p1->tail.last()->Length, 50);
  g->bulletlist.clear();
  volley(*g);
  EXPECT_EQ(g->bulletlist.size(), 2u);
}

TEST(ShipButtons, ShipsFourAndFiveTakeTheSecondButtonAndShowOffWithoutInput) {
  for (const int ship : {4, 5}) {
    auto g = newRun(ship);
    EntityList<bubble> bubbles;
    pf::inputState().keyPressed(settings.fire1key);
    pf::inputState().keyPressed(settings.fire2key);
    g->p1->Update(0, 0, 0, bubbles);
    EXPECT_EQ(g->p1->fire1, 0);
    EXPECT_EQ(g->p1->fire2, 1);
    EXPECT_EQ(g->p1->rotation, 90);
    pf::inputState().keyReleased(settings.fire1key);
    pf::inputState().keyReleased(settings.fire2key);

    // Without input: 100 frames of each attack in turn, once the first
    // cycle (which starts on frame 1) is over.
    auto demo = createShip(ship);
    demo->caninput = 0;
    std::vector<int> runs;
    int last = -1;
    for (int frame = 1; frame <= 500; ++frame) {
      demo->Update(0, 0, 0, bubbles);
      if (demo->fire1 == last) {
        ++runs.back();
      } else {
        runs.push_back(1);
        last = demo->fire1;
      }
      EXPECT_NE(demo->fire1, demo->fire2);
    }
    EXPECT_EQ(runs, (std::vector<int>{99, 100, 100, 100, 100, 1})) << "ship " << ship;
  }
}

TEST(ShipButtons, ShipsTwoThreeAndSixReadOnlyTheFirstButton) {
  for (const int ship : {2, 3, 6}) {
    auto g = newRun(ship);
    EntityList<bubble> bubbles;
    g->p1->rotation = 10;
    pf::inputState().keyPressed(settings.fire2key);
    g->p1->Update(0, 0, 0, bubbles);
    EXPECT_EQ(g->p1->fire1 + g->p1->fire2, 0);
    EXPECT_EQ(g->p1->rotation, 9);
    pf::inputState().keyPressed(settings.fire1key);
    g->p1->Update(0, 0, 0, bubbles);
    EXPECT_EQ(g->p1->fire1 + g->p1->fire2, 2);
    EXPECT_EQ(g->p1->rotation, 0);
    pf::inputState().keyReleased(settings.fire1key);
    pf::inputState().keyReleased(settings.fire2key);
  }
}

TEST(ShipExhaust, AShipThatIsNotDrawnKeepsAsLittleExhaustAsADrawnOne) {
  auto g = newRun(3);
  EntityList<bubble> bubbles;
  auto drawn = player3::Create();
  auto hidden = player3::Create();
  for (auto* ship : {drawn.get(), hidden.get()}) {
    ship->caninput = 0;
    ship->y = 300;
  }
  for (int frame = 0; frame < 300; ++frame) {
    drawn->Update(0, 0, 0, bubbles);
    hidden->Update(0, 0, 0, bubbles);
    ASSERT_EQ(hidden->playerlist.size(), drawn->playerlist.size()) << "frame " << frame;
    drawn->paint();
  }
  // About 34 frames of eleven sparks.
  EXPECT_LT(hidden->playerlist.size(), 11u * 36);
}
