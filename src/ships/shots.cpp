#include "ships/shots.hpp"

#include "essentials/assets.hpp"
#include "platform/platform.hpp"
#include "ships/bullet.hpp"
#include "ships/missile.hpp"

void addShot(WeaponContext& w, float x, float y, float angle, float speed, const ShotLook& look, float damage) {
  w.bulletlist.add(bullet::Create(x, y, angle, speed, assets.blobImage.get(), look.alpha, pf::kBlendLight, look.r,
                                  look.g, look.b, look.xScale, look.yScale, look.radius, 0, damage));
}

missile& addMissile(WeaponContext& w, float x, float y, float direction) {
  return *w.missilelist.add(missile::Create(x, y, direction));
}
