#pragma once
// Appending the weapons' projectiles to the session's lists, each counted in
// the weapons' tally.
#include <memory>

#include "ships/weapon_context.hpp"

// The look most guns share: full alpha, additive blend, player flag 0.
struct ShotLook {
  int r, g, b;
  float xScale, yScale;
  float radius;
  float alpha = 1.0f;
};

// The broad red streak ships two and three fire at high power.
constexpr ShotLook kRedStreak{255, 0, 0, 3, 0.15f, 20.5f, 0.5f};

// A glow-sprite shot with the given look, not yet in any list.
std::unique_ptr<bullet> glowShot(float x, float y, float angle, float speed, const ShotLook& look, float damage);
// The same, appended to the session's bullets.
void addShot(WeaponContext& w, float x, float y, float angle, float speed, const ShotLook& look, float damage);
// Any bullet, beam or laser shot; beams are counted apart.
void addBullet(WeaponContext& w, std::unique_ptr<bullet> shot);
// A homing missile with the default look; returns it for tuning.
missile& addMissile(WeaponContext& w, float x, float y, float direction);
void addPowerRing(WeaponContext& w, float x, float y);
void addFire(WeaponContext& w, int bits);
