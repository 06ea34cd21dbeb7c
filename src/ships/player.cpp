#include "ships/player.hpp"

#include <algorithm>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "platform/platform.hpp"
#include "ships/missile.hpp"
#include "ships/ship_demo.hpp"
#include "ships/ship_motion.hpp"
#include "ships/shots.hpp"

std::unique_ptr<player> player::Create() {
  auto p = std::make_unique<player>();
  p->describe(1, 255, 0, 100,
              {"particle bird", "medium", "medium", "good", "shoot left", "shoot right", "super missiles"});
  return p;
}

int player::Update(float dx, float dy, float, EntityList<bubble>& bubbles) {
  playerList.ageUndrawn();
  timer += 1;
  moveShip(*this, ShipVelocity{xVel, yVel}, gravity, dx, dy, 3.5f, 3.5f, timer, bubbles);

  // Exhaust: a magenta body stream and two white wing streams behind the ship.
  const pf::Image& blob = assets.blobImage();
  playerList.add(bullet2D::Create(x, y, 90 + rotation, 1, blob, 1, pf::kBlendLight, 200, 0, 100, 0.1f, 0.1f, 1, 0, 1));
  playerList.add(bullet2D::Create(x - 5, y, 90 + angle + rotation, 2, blob, 1, pf::kBlendLight, 255, 255, 255, 0.16f,
                                  0.08f, 1, 1, 1));
  playerList.add(bullet2D::Create(x + 5, y, 90 - angle + rotation, 2, blob, 1, pf::kBlendLight, 255, 255, 255, 0.16f,
                                  0.08f, 1, 1, 1));

  fire1 = 0;
  fire2 = 0;
  relaxTilt(*this);
  if (caninput == 1) {
    if (pf::keyDown(settings.fire1key)) fire1 = 1;
    if (pf::keyDown(settings.fire2key)) fire2 = 1;
    if (settings.usejoy == 1) {
      if (pf::joyDown(settings.jfireLeftButton, 0)) fire1 = 1;
      if (pf::joyDown(settings.jFireRightButton, 0)) fire2 = 1;
    }
  }
  // Held alone, a button leans the ship one degree per frame, up to 25.
  if (fire1 == 1 && fire2 == 1) {
    rotation = 0;
  } else if (fire1 == 1) {
    rotation -= 2;
  } else if (fire2 == 1) {
    rotation += 2;
  }
  rotation = std::clamp(rotation, -25.0f, 25.0f);

  ang += 3;
  angle = static_cast<float>(45 + 30 * Sin(ang));
  collrect = Rect{x - 2, y - 10, 4, 4};
  return 0;
}

int player::paint() const {
  paintGlow(x, y, 0.4f, 200, 0, 100);
  paintCore(x, y - 11);
  playerList.paint();
  resetDrawState();
  return 0;
}

void player::fireMainGuns(WeaponContext& w) {
  const ShotLook look{r, g, b, 1.0f, 0.1f, 1.5f};
  addShot(w, x - 7, y, 270 + rotation, 20, look, 1.5f);
  addShot(w, x + 7, y, 270 + rotation, 20, look, 1.5f);
  if (w.powerlevel >= 2) {
    // Side guns 57 degrees either side of straight up, sweeping in opposite senses.
    const float sweep = static_cast<float>(25 * Sin(w.gametimer));
    const float sideSpeed = static_cast<float>(w.powerlevel + 9);
    addShot(w, x - 21, y, 213 + rotation + sweep, sideSpeed, look, 1.5f);
    addShot(w, x + 21, y, 327 + rotation - sweep, sideSpeed, look, 1.5f);
  }
  if (w.powerlevel >= 4) {
    addShot(w, x - 21, y - 20, 270 + rotation, 15, look, 1.5f);
    addShot(w, x + 21, y - 20, 270 + rotation, 15, look, 1.5f);
  }
}

void player::fireAutomatic(WeaponContext& w) {
  if (w.powerlevel < 3 || w.powermissiletimer < 60) return;
  playSfx(assets.sfxMssl, 0.6f, 1.0f);
  w.powermissiletimer = 0;
  addMissile(w, x, y, 0);
  addMissile(w, x, y, 180);
  if (w.powerlevel == 5) {
    addMissile(w, x, y, 327);
    addMissile(w, x, y, 213);
  }
}

void player::special(WeaponContext& w, SpecialTrigger trigger) {
  w.bombs -= 2;
  const float damage = trigger == SpecialTrigger::Key ? 8.0f : 5.0f;
  for (int i = 0; i < 2; ++i) {
    const int direction = Rand(0, 359);
    addMissile(w, x, y, static_cast<float>(direction)).damage = damage;
  }
}

// While selected the ship sways and shows its guns at full power, its power
// missiles and, in the special window, its super missiles.
void player::demonstrate(DemoStage& s) {
  rotation = static_cast<float>(20 * Sin(s.timer));
  const float ahead = 270 + rotation;
  if (s.every(40)) {
    const ShotLook look{r, g, b, 1, 0.1f, 1.5f};
    const float sweep = static_cast<float>(25 * Sin(s.timer));
    s.shoot(x - 7, y, ahead, 20, look, 1.5f);
    s.shoot(x + 7, y, ahead, 20, look, 1.5f);
    s.shoot(x - 21, y, 213 + sweep, 9, look, 1.5f);
    s.shoot(x + 21, y, 327 - sweep, 9, look, 1.5f);
    s.shoot(x - 21, y - 20, ahead, 15, look, 1.5f);
    s.shoot(x + 21, y - 20, ahead, 15, look, 1.5f);
  }
  if (s.every(60)) {
    for (const float direction : {0.0f, 180.0f, 327.0f, 213.0f}) s.missilelist.add(missile::Create(x, y, direction));
  }
  if (s.specialWindow()) {
    for (int i = 0; i < 2; ++i) {
      const int direction = Rand(0, 359);
      s.missilelist.add(missile::Create(x, y, static_cast<float>(direction)));
    }
  }
}
