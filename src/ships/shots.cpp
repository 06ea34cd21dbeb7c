#include "ships/shots.hpp"

#include "essentials/assets.hpp"
#include "platform/platform.hpp"
#include "ships/bullet.hpp"
#include "ships/fire_attack.hpp"
#include "ships/missile.hpp"
#include "ships/powerring.hpp"

std::unique_ptr<bullet> glowShot(float x, float y, float angle, float speed, const ShotLook& look, float damage) {
  return bullet::Create(x, y, angle, speed, assets.blobImage(), look.alpha, pf::kBlendLight, look.r, look.g, look.b,
                        look.xScale, look.yScale, look.radius, 0, damage);
}

void addShot(WeaponContext& w, float x, float y, float angle, float speed, const ShotLook& look, float damage) {
  addBullet(w, glowShot(x, y, angle, speed, look, damage));
}

void addBullet(WeaponContext& w, std::unique_ptr<bullet> shot) {
  if (shot->isparticlebeam == 1) {
    ++w.created.beams;
  } else {
    ++w.created.bullets;
  }
  w.bulletlist.add(std::move(shot));
}

missile& addMissile(WeaponContext& w, float x, float y, float direction) {
  ++w.created.missiles;
  return *w.missilelist.add(missile::Create(x, y, direction));
}

void addPowerRing(WeaponContext& w, float x, float y) {
  ++w.created.rings;
  w.powerringlist.add(powerring::Create(x, y));
}

void addFire(WeaponContext& w, int bits) {
  ++w.created.fires;
  w.firelist.add(fireAttack::Create(bits));
}
