#include "autopilot.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

Autopilot::ShipPath Autopilot::predictShip(const game& g, int dx, int dy) const {
  ShipPath path{};
  float x = g.p1->x, y = g.p1->y;
  float vx = shipVelocity_.x, vy = shipVelocity_.y;
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

void Autopilot::track(game& g) {
  const auto* ship = g.p1.get();
  shipVelocity_ = Step{ship->x - shipLast_.x, ship->y - shipLast_.y};
  shipLast_ = Step{ship->x, ship->y};
  size_t size = 64;
  while (size < 2 * tracked_.size()) size *= 2;
  previous_.assign(size, Tracked{});
  const auto slot = [&](const enemybase* who) {
    size_t i = (reinterpret_cast<std::uintptr_t>(who) >> 4) & (size - 1);
    while (previous_[i].who != nullptr && previous_[i].who != who) i = (i + 1) & (size - 1);
    return i;
  };
  for (const Tracked& t : tracked_) previous_[slot(t.who)] = t;
  // A newcomer keeps its slot in the probe chains but is never matched.
  for (const enemybase* e : arrivals_) {
    Tracked& stale = previous_[slot(e)];
    if (stale.who == e) stale.fresh = true;
  }
  arrivals_.clear();
  tracked_.clear();
  nearby_.clear();
  g.enemylist.forEach([&](enemybase& e) {
    const Tracked& last = previous_[slot(&e)];
    const Step step = last.who != nullptr && !last.fresh ? Step{e.x - last.at.x, e.y - last.at.y} : Step{0, 0};
    tracked_.push_back({&e, {e.x, e.y}, step});
    if (std::fabs(e.x - ship->x) <= kNearby && std::fabs(e.y - ship->y) <= kNearby) nearby_.push_back(tracked_.back());
  });
}

double Autopilot::danger(const game& g, const ShipPath& path) const {
  // The ship's velocity is not public; its last displacement stands in.
  const auto* ship = g.p1.get();
  double total = 0;
  for (const Tracked& t : nearby_) {
    const Step v = t.step;
    for (int k : kLookAhead) {
      // Move the probe instead of the enemy: the enemy's own hit test then
      // covers segmented bodies exactly.
      const float margin = 6 + 0.6f * static_cast<float>(k);
      // The hit box sits where it does on the ship (above it or centred).
      const Rect& box = ship->collrect;
      const Rect probe{path.x[k] + (box.x - ship->x) - margin - v.x * k,
                       path.y[k] + (box.y - ship->y) - margin - v.y * k, box.w + 2 * margin, box.h + 2 * margin};
      if (t.who->checkcollisions(probe) == 1) {
        total += 100.0 / k;
        break;
      }
    }
  }
  return total;
}

namespace {

// Where the pilot wants the ship when nothing threatens it.
struct Goal {
  float x, y;
};

Goal findGoal(game& g) {
  if (const bonus* pickup = g.bonuslist.first()) return {pickup->x, std::max(pickup->y, 300.0f)};
  // Only a living claw can be hurt, the left one first; then the body.
  // Low in the water there is more time to weave through its bullets.
  if (const boss* crab = findCrab(g)) return {crabTarget(*crab), kCrabFightY};
  // Line up under the lowest shootable enemy above the ship.
  Goal goal{g.p1->x, kRestingY};
  float lowest = -1e9f;
  g.enemylist.forEach([&](enemybase& e) {
    if (e.isbullet == 1 || e.y > g.p1->y - 40 || e.y < 0) return;
    if (e.y > lowest) {
      lowest = e.y;
      goal.x = e.x;
    }
  });
  return goal;
}

double preference(const Goal& goal, float x, float y) { return std::fabs(x - goal.x) + 0.5 * std::fabs(y - goal.y); }

}  // namespace

void Autopilot::steer(game& g) {
  if (!g.p1) {
    arrivals_.clear();
    return;
  }
  track(g);
  const Goal goal = findGoal(g);
  int bestX = 0, bestY = 0;
  double best = std::numeric_limits<double>::max();
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const ShipPath path = predictShip(g, dx, dy);
      const double score = danger(g, path) * 1000 + preference(goal, path.x[8], path.y[8]);
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
