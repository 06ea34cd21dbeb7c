#include "ships/ship_motion.hpp"

#include <algorithm>
#include <cmath>

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bubble.hpp"
#include "platform/platform.hpp"
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

void aimUp(playerbase& ship) {
  ship.fire1 = 1;
  ship.fire2 = 0;
  ship.rotation = 0;
}

void aimSideways(playerbase& ship) {
  ship.fire1 = 0;
  ship.fire2 = 1;
  ship.rotation = 90;
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

void readSingleFireButton(playerbase& ship) {
  ship.fire1 = 0;
  ship.fire2 = 0;
  relaxTilt(ship);
  if (ship.caninput != 1) return;
  const bool held =
      pf::keyDown(settings.fire1key) || (settings.usejoy == 1 && pf::joyDown(settings.jfireLeftButton, 0));
  if (held) {
    ship.fire1 = 1;
    ship.fire2 = 1;
    ship.rotation = 0;
  }
}

void readTwoFireButtons(playerbase& ship, int& timer) {
  ship.fire1 = 0;
  ship.fire2 = 0;
  relaxTilt(ship);
  if (ship.caninput == 1) {
    if (pf::keyDown(settings.fire1key)) aimUp(ship);
    if (pf::keyDown(settings.fire2key)) aimSideways(ship);
    if (settings.usejoy == 1) {
      if (pf::joyDown(settings.jfireLeftButton, 0)) aimUp(ship);
      if (pf::joyDown(settings.jFireRightButton, 0)) aimSideways(ship);
    }
    return;
  }
  // The cycle restarts before the frame's attack is chosen, so each attack
  // shows for exactly 100 frames.
  if (timer == 200) timer = 0;
  if (timer < 100) {
    aimUp(ship);
  } else {
    aimSideways(ship);
  }
}

void followShip(playerbase& ship) {
  float leaderX = ship.x;
  float leaderY = ship.y;
  ship.tail.forEach([&](TailPoint& p) {
    p.Update(leaderX, leaderY);
    leaderX = p.x;
    leaderY = p.y;
  });
}

void paintGlow(float x, float y, float alpha, int r, int g, int b) {
  pf::setScale(1.5f, 1.5f);
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(alpha);
  pf::setColour(r, g, b);
  pf::drawImage(assets.blobImage(), x, y);
}

void paintCore(float x, float y) {
  pf::setColour(255, 255, 255);
  pf::setScale(0.11f, 0.11f);
  pf::setAlpha(1);
  pf::drawImage(assets.blobImage(), x, y);
}

void paintSpikeRing(float x, float y, int timer) {
  const double r = 12 + 3 * Sin(4.0 * timer + 180);
  for (int k = 0; k <= 340; k += 20) {
    pf::setScale(0.05f, 0.3f);
    pf::setColour(255, 255, 255);
    pf::setRotation(static_cast<float>(k + timer));
    pf::setAlpha(0.2f);
    const double a = k + 90 + timer;
    pf::drawImage(assets.blobImage(), static_cast<float>(x + r * Cos(a)), static_cast<float>(y + r * Sin(a)));
  }
}
