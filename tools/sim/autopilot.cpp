#include "autopilot.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "enemies/boss.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "platform/input_state.hpp"
#include "ship_tactics.hpp"

namespace {

constexpr int kLookAhead[] = {1, 2, 3, 4, 6, 8, 11, 15, 20};
constexpr float kNearby = 260;  // enemies further away cannot reach the ship in time
constexpr float kRestingY = 480;
constexpr float kCrabFightY = 560;

void hold(int code, bool down) {
  pf::InputState& input = pf::inputState();
  if (down && !input.keyDown(code)) input.keyPressed(code);
  if (!down && input.keyDown(code)) input.keyReleased(code);
}

// The ship's movement rule: friction, acceleration, speed limit, dead zone.
float nextVelocity(float v, int direction, float limit) {
  if (v > 0) v -= 0.3f;
  if (v < 0) v += 0.3f;
  v += 0.5f * static_cast<float>(direction);
  v = std::clamp(v, -limit, limit);
  return (v > -0.3f && v < 0.3f) ? 0.0f : v;
}

struct ShipPath {
  float x[21];
  float y[21];
};

ShipPath predictShip(const game& g, float vx, float vy, int dx, int dy) {
  ShipPath path{};
  float x = g.p1->x, y = g.p1->y;
  path.x[0] = x;
  path.y[0] = y;
  const float right = static_cast<float>(settings.screenwidth - 150);
  const float bottom = static_cast<float>(settings.screenheight - 10);
  const SpeedLimits limits = speedLimits(g);
  for (int k = 1; k <= 20; ++k) {
    vx = nextVelocity(vx, dx, limits.x);
    vy = nextVelocity(vy, dy, limits.y);
    x = std::clamp(x + vx, 150.0f, right);
    y = std::clamp(y + vy, 10.0f, bottom);
    path.x[k] = x;
    path.y[k] = y;
  }
  return path;
}

const boss* findCrab(game& g) {
  const boss* crab = nullptr;
  g.enemylist.forEach([&](enemybase& e) {
    if (crab == nullptr && e.isboss == 1) crab = dynamic_cast<const boss*>(&e);
  });
  return crab;
}

float crabTarget(const boss& crab) {
  if (crab.claw1energy > 0) return crab.clawrect1.x + crab.clawrect1.w / 2;
  if (crab.claw2energy > 0) return crab.clawrect2.x + crab.clawrect2.w / 2;
  return crab.x;
}

}  // namespace

Autopilot::Step Autopilot::lastStep(const enemybase& e) const {
  const auto it = velocity_.find(&e);
  return it == velocity_.end() ? Step{0, 0} : it->second;
}

double Autopilot::danger(game& g, int dx, int dy) const {
  // The ship's velocity is not public; its last displacement stands in.
  const auto* ship = g.p1.get();
  const ShipPath path = predictShip(g, shipVelocity_.x, shipVelocity_.y, dx, dy);
  double total = 0;
  g.enemylist.forEach([&](enemybase& e) {
    if (std::fabs(e.x - ship->x) > kNearby || std::fabs(e.y - ship->y) > kNearby) return;
    const Step v = lastStep(e);
    for (int k : kLookAhead) {
      // Move the probe instead of the enemy: the enemy's own hit test then
      // covers segmented bodies exactly.
      const float margin = 6 + 0.6f * static_cast<float>(k);
      // The hit box sits where it does on the ship (above it or centred).
      const Rect& box = ship->collrect;
      const Rect probe{path.x[k] + (box.x - ship->x) - margin - v.x * k,
                       path.y[k] + (box.y - ship->y) - margin - v.y * k, box.w + 2 * margin, box.h + 2 * margin};
      if (e.checkcollisions(probe) == 1) {
        total += 100.0 / k;
        break;
      }
    }
  });
  return total;
}

double Autopilot::preference(game& g, int dx, int dy) const {
  const ShipPath path = predictShip(g, shipVelocity_.x, shipVelocity_.y, dx, dy);
  const float x = path.x[8];
  const float y = path.y[8];
  float goalX = g.p1->x;
  float goalY = kRestingY;
  if (const bonus* pickup = g.bonuslist.first()) {
    goalX = pickup->x;
    goalY = std::max(pickup->y, 300.0f);
  } else if (const boss* crab = findCrab(g)) {
    // Only a living claw can be hurt, the left one first; then the body.
    // Low in the water there is more time to weave through its bullets.
    goalX = crabTarget(*crab);
    goalY = kCrabFightY;
  } else {
    // Line up under the lowest shootable enemy above the ship.
    float lowest = -1e9f;
    g.enemylist.forEach([&](enemybase& e) {
      if (e.isbullet == 1 || e.y > g.p1->y - 40 || e.y < 0) return;
      if (e.y > lowest) {
        lowest = e.y;
        goalX = e.x;
      }
    });
  }
  return std::fabs(x - goalX) + 0.5 * std::fabs(y - goalY);
}

void Autopilot::steer(game& g) {
  if (!g.p1) return;
  const playerbase& ship = *g.p1;
  shipVelocity_ = Step{ship.x - shipLast_.x, ship.y - shipLast_.y};
  shipLast_ = Step{ship.x, ship.y};
  std::unordered_map<const enemybase*, Step> now;
  g.enemylist.forEach([&](enemybase& e) {
    now[&e] = Step{e.x, e.y};
    const auto it = seen_.find(&e);
    velocity_[&e] = it == seen_.end() ? Step{0, 0} : Step{e.x - it->second.x, e.y - it->second.y};
  });
  seen_ = std::move(now);
  for (auto it = velocity_.begin(); it != velocity_.end();) {
    it = seen_.count(it->first) != 0 ? std::next(it) : velocity_.erase(it);
  }

  int bestX = 0, bestY = 0;
  double best = std::numeric_limits<double>::max();
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const double score = danger(g, dx, dy) * 1000 + preference(g, dx, dy);
      if (score < best) {
        best = score;
        bestX = dx;
        bestY = dy;
      }
    }
  }
  hold(settings.leftkey, bestX < 0);
  hold(settings.rightkey, bestX > 0);
  hold(settings.upkey, bestY < 0);
  hold(settings.downkey, bestY > 0);
  const bool firing = ceasefire == 0 || g.gametimer < ceasefire;
  const AttackButtons attacks = firing ? chooseAttacks(g) : AttackButtons{};
  hold(settings.fire1key, attacks.fire1);
  hold(settings.fire2key, attacks.fire2);
  hold(settings.fire3key, attacks.fire3);
}
