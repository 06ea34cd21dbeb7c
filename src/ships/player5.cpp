#include "ships/player5.hpp"

#include <algorithm>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"
#include "ships/missile.hpp"
#include "ships/ship5bullet.hpp"
#include "ships/ship_demo.hpp"
#include "ships/ship_motion.hpp"
#include "ships/shots.hpp"

namespace {

constexpr int kBodyPoints = 20;
constexpr float kBodySpacing = 5;
// The body is drawn from this point on; the first few sit inside the ship.
constexpr int kFirstDrawnPoint = 3;

constexpr float kBoostedDamage = 15;
constexpr float kFadeStep = 0.02f;
constexpr float kFadeFloor = 0.2f;

// Missile cadence by power level, in steps of the session's bullet clock
// (5 a frame): from every 12th frame at level 1 to every 6th from level 4.
int missilePeriod(int powerlevel) {
  switch (powerlevel) {
    case 1: return 60;
    case 2: return 50;
    case 3: return 40;
    default: return 30;
  }
}

}  // namespace

std::unique_ptr<player5> player5::Create() {
  auto p = std::make_unique<player5>();
  p->describe(5, 0, 255, 100, {"green snake", "poor", "weak", "poor", "missiles", "laser", "damage multiplier"});
  // The whole body starts on the ship and unrolls as it moves.
  p->tail.add(TailPoint::Create(p->x, p->y, 255, 255, 255))->Length = 0;
  for (int i = 1; i < kBodyPoints; ++i) {
    const TailPoint* previous = p->tail.last();
    p->tail.add(TailPoint::Create(previous->x, previous->y, 255, 255, 255))->Length = kBodySpacing;
  }
  return p;
}

int player5::Update(float dx, float dy, float, EntityList<bubble>& bubbles) {
  startFrame(dx, dy, 1.5f, 2.5f, bubbles);
  readTwoFireButtons(*this, timer);
  collrect = Rect{x - 2, y - 2, 4, 4};
  return 0;
}

int player5::paint() const {
  const pf::Image& blob = assets.blobImage();
  paintGlow(x, y, 0.3f, 0, 255, 0);
  paintSpikeRing(x, y, timer);
  // The body is thickest next to the ship and shrinks to nothing at point 12;
  // beyond it the scale turns negative and the glow widens again (mirrored)
  // towards the tip.
  int index = 0;
  tail.forEach([&](const TailPoint& p) {
    if (index >= kFirstDrawnPoint) {
      pf::setColour(255, 255, 255);
      pf::setAlpha(0.8f);
      pf::setScale(0.05f, 0.05f);
      pf::drawImage(blob, p.x2, p.y2);
      const float scale = 0.4f - static_cast<float>(index) / 30;
      pf::setColour(0, 255, 0);
      pf::setAlpha(0.4f);
      pf::setScale(scale, scale);
      pf::drawImage(blob, p.x2, p.y2);
    }
    ++index;
  });
  paintCore(x, y);
  playerlist.paint();
  resetDrawState();
  return 0;
}

void player5::fireOwnPatterns(WeaponContext& w) {
  if (fire1 == 1 && w.bulletTimer % missilePeriod(w.powerlevel) == 0) {
    // Green missiles; at full power a yellow pair of heavier ones.
    const bool full = w.powerlevel == 5;
    const auto launch = [&](float direction) {
      missile& m = addMissile(w, x, y - 10, direction);
      m.red = full ? 255 : 0;
      m.green = 255;
      m.blue = 0;
      m.damage = full ? 2 : 0.75f;
    };
    if (full) {
      launch(260);
      launch(280);
    } else {
      launch(270);
    }
  }
  // The laser: a pair half a turn apart, weaving as a double helix, thicker
  // and stronger with each power level.
  if (fire2 == 1 && w.bulletTimer % 20 == 0) {
    const float xScale = 0.5f * static_cast<float>(w.powerlevel) / 3;
    const float damage = 0.2f * static_cast<float>(w.powerlevel);
    const float phase = 3.0f * static_cast<float>(w.gametimer);
    for (const float angle : {phase + 180, phase}) {
      addBullet(w, ship5bullet::Create(x, y + 30, angle, 0, assets.blobImage(), 0, pf::kBlendLight, 255, 255, 255,
                                       xScale, 2.9f, 0, 0, damage));
    }
  }
}

// One energy point every second frame held. While more than one point is
// left every shot this frame hits fifteen times as hard; the screen is
// cleared more faintly, so everything trails.
void player5::special(WeaponContext& w, SpecialTrigger) {
  if (w.gametimer % 2 == 0) w.bombs -= 1;
  if (w.bombs > 1) w.damagemultiplier = kBoostedDamage;
  w.clsalpha = std::max(w.clsalpha - kFadeStep, kFadeFloor);
}

// Full-power missiles, the laser in dark grey, and in the special window the
// backdrop's trails lingering as the damage multiplier makes them in play.
void player5::demonstrate(DemoStage& s) {
  if (s.every(30)) {
    for (const float direction : {260.0f, 280.0f}) {
      missile* m = s.missilelist.add(missile::Create(x, y - 10, direction));
      m->red = 255;
      m->green = 255;
      m->blue = 0;
    }
  }
  if (s.every(20)) {
    for (const float phase : {static_cast<float>(180 + 3 * s.timer), static_cast<float>(3 * s.timer)}) {
      s.bulletlist.add(ship5bullet::Create(x, y + 30, phase, 2, assets.blobImage(), 1, pf::kBlendLight, 23, 23, 23,
                                           0.5f, 2.9f, 0, 0, 0.6f));
    }
  }
  if (s.specialWindow()) s.clsalpha = std::max(0.2f, s.clsalpha - 0.05f);
}
