#pragma once
// The movement and exhaust rules every ship shares: friction, input, speed
// limit, dead zone, screen bounds and the bubble trail; and the life cycle of
// the exhaust particles drawn with the ship.
#include "essentials/entity_list.hpp"

class playerbase;
class bubble;
class bullet2D;

struct ShipVelocity {
  float& x;
  float& y;
};

// One frame of ship movement. `gravity` is the ship's friction field (set to
// -0.3 and used as the step); `limitX`/`limitY` the speed limits; `timer` the
// ship's frame counter, which paces the idle bubble trail.
void moveShip(playerbase& ship, ShipVelocity vel, float& gravity, float dx, float dy, float limitX, float limitY,
              double timer, EntityList<bubble>& bubbles);

// The tilt relaxes by one degree per frame towards 0.
void relaxTilt(playerbase& ship);

// Advances, draws, fades and retires the exhaust particles.
void paintExhaust(EntityList<bullet2D>& particles);
