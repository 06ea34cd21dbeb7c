#include "ships/player3.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "fx/blood.hpp"
#include "platform/platform.hpp"
#include "ships/bullet.hpp"
#include "ships/powerring.hpp"
#include "ships/ship_demo.hpp"
#include "ships/ship_motion.hpp"
#include "ships/shots.hpp"

namespace {

// A shot splits after this many frames of flight, and each piece again.
constexpr int kSplitAge = 15;
constexpr float kSplitSpread = 6;

// The orange glow round the shield.
void addShieldGlow(EntityList<blood>& bloodlist, float x, float y) {
  blood* glow = bloodlist.add(blood::Create(x, y));
  glow->r = 255;
  glow->g = 150;
  glow->b = 0;
  glow->size = 0.8f;
  glow->Alpha = 0.5f;
}

// The two pieces a shot splits into, 6 degrees either side of it at half its
// damage, each handed to `place`.
template <class Place>
void splitShot(const bullet& shot, Place&& place) {
  const ShotLook piece{shot.r, shot.g, shot.b, 0.7f, 0.1f, 1.5f};
  for (const float offset : {-kSplitSpread, kSplitSpread}) {
    place(glowShot(shot.X, shot.Y, shot.angle + offset, shot.speed, piece, shot.damage / 2));
  }
}

}  // namespace

std::unique_ptr<player3> player3::Create() {
  auto p = std::make_unique<player3>();
  p->describe(3, 255, 255, 0, {"sun spread", "weak", "ok", "ok", "shoot", "nothing", "Shield"});
  return p;
}

int player3::Update(float dx, float dy, float, EntityList<bubble>& bubbles) {
  startSingleButtonFrame(dx, dy, bubbles);

  // A pulsing sun that sheds a ring of sparks every frame.
  const pf::Image& blob = assets.blobImage();
  const float radius = static_cast<float>(8 + 3 * Sin(4.0 * timer + 180));
  for (int k = 0; k <= 350; k += 35) {
    playerlist.add(bullet2D::Create(x, y - 10, 90 + rotation + static_cast<float>(k), 1, blob, 1, pf::kBlendLight, 255,
                                    150, 0, 0.1f, 0.1f, radius, 0, 1));
  }
  return 0;
}

int player3::paint() const {
  const pf::Image& blob = assets.blobImage();
  paintGlow(x, y, 0.3f, 255, 255, 0);
  // The corona turns slightly with the ship's motion.
  const double r = 8 + 3 * Sin(4.0 * timer + 180);
  for (int k = 0; k <= 340; k += 20) {
    const double a = k + xvel + yvel;
    pf::setScale(0.05f, 0.5f);
    pf::setColour(255, 255, 255);
    pf::setRotation(static_cast<float>(k));
    pf::setAlpha(0.2f);
    pf::drawImage(blob, static_cast<float>(x + r * Cos(a)), static_cast<float>(y + r * Sin(a) - 10));
  }
  paintCore(x, y - 11);
  playerlist.paint();
  resetDrawState();
  return 0;
}

void player3::fireMainGuns(WeaponContext& w) {
  const ShotLook look{r, g, b, 0.7f, 0.1f, 1.5f};
  const float up = 270 + rotation;
  for (const float offset : {0.0f, -12.0f, 12.0f}) addShot(w, x, y, up + offset, 20, look, 0.7f);
  if (w.powerlevel >= 2) {
    for (const float offset : {-22.0f, 22.0f}) addShot(w, x, y, up + offset, 20, look, 0.7f);
  }
  if (w.powerlevel >= 3) {
    for (const float offset : {-82.0f, 82.0f}) addShot(w, x, y, up + offset, 15, look, 0.7f);
  }
  // Every second volley: broad red streaks.
  if (w.bulletTimer % 80 == 0) {
    if (w.powerlevel >= 4) addShot(w, x, y, up, 10, kRedStreak, 4);
    if (w.powerlevel == 5) {
      for (const float offset : {-3.0f, 3.0f}) addShot(w, x, y, up + offset, 10, kRedStreak, 2);
    }
  }
}

// One energy point every second frame held; a ring and an orange glow every
// frame.
void player3::special(WeaponContext& w, SpecialTrigger) {
  if (w.gametimer % 2 == 0) w.bombs -= 1;
  addPowerRing(w, x, y);
  addShieldGlow(w.bloodlist, x, y);
}

// From power level 4 every shot that has flown 15 frames becomes two, 6
// degrees either side, at half the damage; the pieces split in turn.
void player3::afterBulletUpdate(bullet& shot, WeaponContext& w) {
  if (w.powerlevel < 4 || shot.timer < kSplitAge) return;
  w.bulletlist.remove(&shot);
  splitShot(shot, [&](std::unique_ptr<bullet> piece) { addBullet(w, std::move(piece)); });
}

// The fan and streaks at full power, the shield in the special window, and
// every shot in the menu's list splitting as it would at full power.
void player3::demonstrate(DemoStage& s) {
  const float ahead = 270 + rotation;
  if (s.every(40)) {
    const ShotLook look{r, g, b, 1, 0.1f, 1.5f, 0.7f};
    for (const float offset : {0.0f, -12.0f, 12.0f, -22.0f, 22.0f}) s.shoot(x, y, ahead + offset, 20, look);
    s.shoot(x, y, ahead - 82, 15, look);
    s.shoot(x, y, ahead + 82, 15, look);
  }
  if (s.every(80)) {
    for (const float offset : {0.0f, 3.0f, -3.0f}) s.shoot(x, y, ahead + offset, 10, kRedStreak);
  }
  if (s.specialWindow()) {
    s.powerringlist.add(powerring::Create(x, y));
    addShieldGlow(s.bloodlist, x, y);
  }
  s.bulletlist.forEach([&](bullet& shot) {
    if (shot.timer < kSplitAge || shot.isparticlebeam == 1) return;
    s.bulletlist.remove(&shot);
    splitShot(shot, [&](std::unique_ptr<bullet> piece) { s.bulletlist.add(std::move(piece)); });
  });
}
