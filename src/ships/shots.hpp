#pragma once
// Appending a glow-sprite shot with the look most guns share: full alpha,
// additive blend, player flag 0.
#include "ships/weapon_context.hpp"

struct ShotLook {
  int r, g, b;
  float xScale, yScale;
  float radius;
  float alpha = 1.0f;
};

void addShot(WeaponContext& w, float x, float y, float angle, float speed, const ShotLook& look, float damage);
// A homing missile with the default look; returns it for tuning.
class missile;
missile& addMissile(WeaponContext& w, float x, float y, float direction);
