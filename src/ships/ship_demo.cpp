#include "ships/ship_demo.hpp"

#include "ships/bullet.hpp"
#include "ships/fire_attack.hpp"

void DemoStage::shoot(float x, float y, float angle, float speed, const ShotLook& look, float damage) {
  bulletlist.add(glowShot(x, y, angle, speed, look, damage));
}

void DemoStage::startFire(playerbase& ship, int bits) {
  firelist.add(fireAttack::Create(bits));
  fireShip = &ship;
}
