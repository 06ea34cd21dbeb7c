#include "ships/player2.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"
#include "ships/particlebeam.hpp"
#include "ships/ship_demo.hpp"
#include "ships/ship_motion.hpp"
#include "ships/shots.hpp"

std::unique_ptr<player2> player2::Create() {
  auto p = std::make_unique<player2>();
  p->describe(2, 0, 100, 100, {"Straight shooter", "good", "good", "good", "shoot ", "nothing", "Super Laser"});
  return p;
}

int player2::Update(float dx, float dy, float, EntityList<bubble>& bubbles) {
  startSingleButtonFrame(dx, dy, bubbles);

  // A tail that waves from side to side.
  const pf::Image& blob = assets.blobImage();
  const float wave = static_cast<float>(10 * Sin(3.0 * timer));
  for (const float direction : {90 + rotation, 66 + rotation + wave, 114 + rotation - wave}) {
    playerlist.add(
        bullet2D::Create(x, y - 10, direction, 1, blob, 1, pf::kBlendLight, 0, 100, 100, 0.1f, 0.1f, 1, 0, 1));
  }
  return 0;
}

int player2::paint() const {
  const pf::Image& blob = assets.blobImage();
  paintGlow(x, y, 0.4f, 0, 100, 100);
  // Two rings that breathe in opposite phase: dots and white spikes. A dot
  // keeps the colour and rotation left by what was drawn before it.
  const double r1 = 10 + 3 * Sin(4.0 * timer);
  const double r2 = 10 + 3 * Sin(4.0 * timer + 180);
  for (int k = 33; k <= 313; k += 20) {
    pf::setScale(0.1f, 0.1f);
    pf::setAlpha(0.8f);
    pf::drawImage(blob, static_cast<float>(x + r1 * Cos(k - 80)), static_cast<float>(y + r1 * Sin(k - 80) - 10));
    pf::setScale(0.1f, 0.8f);
    pf::setColour(255, 255, 255);
    pf::setRotation(static_cast<float>(k - 75));
    pf::setAlpha(0.2f);
    pf::drawImage(blob, static_cast<float>(x + r2 * Cos(k - 75)), static_cast<float>(y + r2 * Sin(k - 75) - 10));
  }
  paintCore(x, y - 11);
  playerlist.paint();
  resetDrawState();
  return 0;
}

void player2::fireMainGuns(WeaponContext& w) {
  const ShotLook look{r, g, b, 1.0f, 0.1f, 1.5f};
  const float up = 270 + rotation;
  addShot(w, x - 3, y, up, 20, look, 1);
  addShot(w, x + 3, y, up, 20, look, 1);
  if (w.powerlevel >= 2) {
    addShot(w, x - 10, y - 20, up, 15, look, 1.5f);
    addShot(w, x + 10, y - 20, up, 15, look, 1.5f);
  }
  if (w.powerlevel >= 3) {
    addShot(w, x - 15, y - 20, up, 10, look, 1.5f);
    addShot(w, x + 15, y - 20, up, 10, look, 1.5f);
  }
  // Every second volley.
  if (w.powerlevel >= 4 && w.bulletTimer % 80 == 0) {
    addShot(w, x - 20, y - 20, up, 10, look, 2);
    addShot(w, x + 20, y - 20, up, 10, look, 2);
  }
  // Every fourth volley: a broad red streak.
  if (w.powerlevel == 5 && w.bulletTimer % 160 == 0) {
    addShot(w, x, y, up, 10, kRedStreak, 5);
  }
}

// One energy point per frame held. The beams grow to a size set by the energy
// left after the point is taken: 0.5 plus one for every whole 20 points.
void player2::special(WeaponContext& w, SpecialTrigger) {
  w.bombs -= 1;
  const float size = 0.5f + static_cast<float>(w.bombs / 20);
  for (const float side : {1.0f, -1.0f}) addBullet(w, superLaser(side, size));
}

std::unique_ptr<bullet> player2::superLaser(float side, float size) const {
  const int red = Rand(100, 255);
  const int green = Rand(100, 255);
  return particlebeam::Create(x + 15 * side, y + 50, 270 + rotation, 20, assets.blobImage(), 0.8f, pf::kBlendLight, red,
                              green, 0, size, size, 10, 0, 3 * side);
}

// The guns at full power and, in the special window, the beams growing as
// they would from a full energy bar being spent.
void player2::demonstrate(DemoStage& s) {
  const ShotLook look{r, g, b, 1, 0.1f, 1.5f};
  const float ahead = 270 + rotation;
  if (s.every(40)) {
    s.shoot(x - 3, y, ahead, 20, look);
    s.shoot(x + 3, y, ahead, 20, look);
    s.shoot(x - 10, y - 20, ahead, 15, look);
    s.shoot(x + 10, y - 20, ahead, 15, look);
    s.shoot(x - 15, y - 20, ahead, 10, look);
    s.shoot(x + 15, y - 20, ahead, 10, look);
  }
  if (s.every(80)) {
    s.shoot(x - 20, y - 20, ahead, 10, look);
    s.shoot(x + 20, y - 20, ahead, 10, look);
  }
  if (s.every(160)) s.shoot(x, y, ahead, 10, kRedStreak);
  if (s.specialWindow()) {
    const int energy = 100 - (s.playspecialtimer - 200) - 1;
    const float size = 0.5f + static_cast<float>(energy / 20);
    for (const float side : {1.0f, -1.0f}) s.bulletlist.add(superLaser(side, size));
  }
}
