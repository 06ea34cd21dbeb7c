#include "ships/ship_motion.hpp"

#include <algorithm>
#include <cmath>

#include "essentials/settings.hpp"
#include "fx/bubble.hpp"
#include "ships/bullet2D.hpp"
#include "ships/playerbase.hpp"

namespace {

// Two separate tests on the current value: a small velocity can be pushed
// across 0 by the first and back by the second.
void friction(float& v, float step) {
  if (v > 0) v += step;
  if (v < 0) v -= step;
}

void limit(float& v, float maxSpeed) {
  v = std::min(v, maxSpeed);
  v = std::max(v, -maxSpeed);
  if (v > -0.3f && v < 0.3f) v = 0;
}

}  // namespace

void moveShip(playerbase& ship, ShipVelocity vel, float& gravity, float dx, float dy, float limitX, float limitY,
              double timer, EntityList<bubble>& bubbles) {
  gravity = -0.3f;
  friction(vel.y, gravity);
  friction(vel.x, gravity);
  vel.x += dx;
  vel.y += dy;
  if (ship.caninput == 1) {
    limit(vel.x, limitX);
    limit(vel.y, limitY);
    ship.x += vel.x;
    ship.y += vel.y;
    const float right = static_cast<float>(settings.screenwidth - 150);
    const float bottom = static_cast<float>(settings.screenheight - 10);
    if (ship.x < 150) {
      ship.x = 150;
      vel.x = 0;
    }
    if (ship.x > right) {
      ship.x = right;
      vel.x = 0;
    }
    if (ship.y < 10) {
      ship.y = 10;
      vel.y = 0;
    }
    if (ship.dying == 0 && ship.y > bottom) {
      ship.y = bottom;
      vel.y = 0;
    }
  }
  // Full speed left or up leaves a bubble every frame; otherwise one in eight.
  if (vel.x == 4.0f || vel.x == -3.5f || vel.y == 4.0f || vel.y == -3.5f) {
    bubbles.add(bubble::Create(ship.x, ship.y));
  } else if (std::fmod(timer, 8.0) == 0.0) {
    bubbles.add(bubble::Create(ship.x, ship.y));
  }
}

void relaxTilt(playerbase& ship) {
  if (ship.rotation < 0) {
    ship.rotation += 1;
  } else if (ship.rotation > 0) {
    ship.rotation -= 1;
  }
}

void paintExhaust(EntityList<bullet2D>& particles) {
  particles.forEach([&](bullet2D& p) {
    p.Update();
    p.paint();
    p.alpha -= 0.03f;
    if (p.y < -50 || p.y > 770 || p.alpha < 0) particles.remove(&p);
  });
}
