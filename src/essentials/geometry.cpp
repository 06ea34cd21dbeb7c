#include "essentials/geometry.hpp"

#include <algorithm>
#include <cmath>

#include "essentials/math.hpp"
#include "platform/platform.hpp"

void Rect::draw() const { pf::fillRect(x, y, w, h); }

int circleHitsRect(const Rect& r, float cx, float cy, float radius) {
  // Clamp without std::clamp: a rectangle with a negative size is used as it
  // stands, never normalised.
  const float px = std::min(std::max(cx, r.x), r.x + r.w);
  const float py = std::min(std::max(cy, r.y), r.y + r.h);
  const float dx = cx - px;
  const float dy = cy - py;
  return dx * dx + dy * dy < radius * radius ? 1 : 0;
}

float angleTo(float x1, float y1, float x2, float y2) {
  return static_cast<float>(-ATan2(static_cast<double>(x1) - x2, static_cast<double>(y1) - y2));
}

float aimProjection(float x1, float y1, float x2, float y2) { return (x1 - x2) * 0.41f + (y1 - y2) * 0.941246f; }
