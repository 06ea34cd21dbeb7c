#include "ships/tailpoint.hpp"

#include "essentials/math.hpp"

TailPoint::TailPoint() : rot(static_cast<float>(Rand(0, 359))) {}

std::unique_ptr<TailPoint> TailPoint::Create(float x, float y, int, int, int) {
  auto p = std::make_unique<TailPoint>();
  p->x = x;
  p->y = y;
  return p;
}

void TailPoint::Update(float leaderX, float leaderY) {
  Angle = static_cast<float>(ATan2(leaderY - y, leaderX - x));
  x = static_cast<float>(leaderX - Length * Cos(Angle));
  y = static_cast<float>(leaderY - Length * Sin(Angle));
  rot += 12;
  x2 = static_cast<float>(x + 1.5 * Cos(rot));
  y2 = static_cast<float>(y + 1.5 * Sin(rot));
}
