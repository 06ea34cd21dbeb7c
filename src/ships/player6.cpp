#include "ships/player6.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"
#include "ships/missile.hpp"
#include "ships/ship_demo.hpp"
#include "ships/ship_motion.hpp"
#include "ships/shots.hpp"

std::unique_ptr<player6> player6::Create() {
  auto p = std::make_unique<player6>();
  p->describe(6, 255, 255, 255, {"Mystery x", "??????", "??????", "??????", "shoot", "nothing", "nothing"});
  return p;
}

int player6::Update(float dx, float dy, float, EntityList<bubble>& bubbles) {
  startSingleButtonFrame(dx, dy, bubbles);

  // A slowly turning X of sparks.
  const pf::Image& blob = assets.blobImage();
  const float turn = static_cast<float>(timer) + rotation;
  for (const float arm : {135.0f, 225.0f, 315.0f, 45.0f}) {
    playerlist.add(
        bullet2D::Create(x, y - 10, turn + arm, 1.2f, blob, 1, pf::kBlendLight, 255, 255, 255, 0.1f, 0.2f, 6, 0, 1));
  }
  return 0;
}

int player6::paint() const {
  paintGlow(x, y, 0.4f, 0, 100, 100);
  paintCore(x, y - 11);
  playerlist.paint();
  resetDrawState();
  return 0;
}

void player6::fireOwnPatterns(WeaponContext& w) {
  const int p = w.powerlevel;
  const float level = static_cast<float>(p);
  const float up = 270 + rotation;
  // The full-power extras last only while no life has been lost.
  const bool fullPower = p >= 5 && w.lives == 3;

  if (w.bulletTimer % 60 == 0) {
    addShot(w, x, y, up, 20, ShotLook{r, g, b, 1, 0.1f + level / 10, 1.5f}, 5 * level);
    if (p == 5 && w.lives >= 3) {
      const ShotLook side{255, 0, 0, 1, 0.1f + level / 10, 1.5f};
      addShot(w, x + 10, y + 5, up, 20, side, 2 * level);
      addShot(w, x - 10, y + 5, up, 20, side, 2 * level);
    }
  }
  if (fullPower && w.bulletTimer % 40 == 0) {
    const ShotLook spray{255, 255, 0, 0.5f, 0.1f, 1.5f};
    const float spin = up + static_cast<float>(w.gametimer);
    for (const float arm : {45.0f, 135.0f, 225.0f, 315.0f}) addShot(w, x, y, spin + arm, 10, spray, 1);
    // 335.5 rather than 337.5: the pair is not quite symmetric.
    for (const float offset : {22.5f, 335.5f}) addShot(w, x, y, up + offset, 10, spray, 1);
    // Homing missiles, the third one red.
    for (const float direction : {250.0f, 230.0f, 290.0f, 310.0f}) {
      missile& m = addMissile(w, x, y - 10, direction);
      const bool red = direction == 290.0f;
      m.red = red ? 255 : 0;
      m.green = red ? 0 : 255;
      m.blue = 0;
      m.damage = 0.5f;
    }
  }
  // Two outriggers sweeping in the same phase.
  if (w.lives == 3 && p == 5 && w.bulletTimer % 20 == 0) {
    const float sweep = static_cast<float>(45 * Sin(3.0 * w.gametimer));
    const ShotLook outrigger{0, 100, b, 1, 0.1f + level / 30, 1.5f};
    addShot(w, x + 40, y + 10, 315 + rotation + sweep, 20, outrigger, 2);
    addShot(w, x - 40, y + 10, 225 + rotation + sweep, 20, outrigger, 2);
  }
}

void player6::demonstrate(DemoStage& s) {
  if (s.every(60)) s.shoot(x, y, 270 + rotation, 20, ShotLook{r, g, b, 1, 0.1f, 1.5f});
}
