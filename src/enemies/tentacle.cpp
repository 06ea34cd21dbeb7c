#include "enemies/tentacle.hpp"

#include "essentials/math.hpp"
#include "platform/platform.hpp"

Point::Point() : angle(static_cast<float>(Rnd(0, 359))) {}

std::unique_ptr<tentacle> tentacle::Create(float x, float y, float offset, float offsetY, int n) {
  auto t = std::make_unique<tentacle>();
  t->tx = x;
  t->tY = y;
  t->offset = offset;
  t->offsetY = offsetY;
  t->numpoints = static_cast<float>(n);
  for (int i = 0; i < n; ++i) {
    auto p = std::make_unique<Point>();
    p->x = static_cast<int>(x);
    p->y = static_cast<int>(y + offsetY * i);
    t->points[static_cast<size_t>(i)] = std::move(p);
  }
  return t;
}

void tentacle::update() {
  timer += 1;
  // How far the anchor moved, negated: the lower points lag behind it.
  const float dy = lasty - tY;
  const float dx = lastX - tx;
  const int n = static_cast<int>(numpoints);
  for (int i = 0; i < n; ++i) {
    Point& p = *points[static_cast<size_t>(i)];
    // Lower points sway faster and more irregularly; faster still while the bell rises.
    const double step = Rnd(0.3, 1.5);
    p.angle = static_cast<float>(p.angle + dy + i * step);
    p.x = static_cast<int>(tx - offset * i + offset * i * Sin(p.angle) + dx * i);
    double py = tY + offsetY * i + dy * i;
    if (i > 1) py += 5 * i * Sin(timer);
    p.y = static_cast<int>(py);
    if (i == 0) p.y = static_cast<int>(tY);
  }
  lastX = tx;
  lasty = tY;
}

void tentacle::paint() const {
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(1);
  pf::setColour(255, 255, 255);
  pf::enableLineSmoothing();
  float penX = 0, penY = 0;
  const int spans = static_cast<int>(numpoints - 4);
  for (int s = 0; s <= spans; ++s) {
    const Point& p0 = *points[static_cast<size_t>(s)];
    const Point& p1 = *points[static_cast<size_t>(s + 1)];
    const Point& p2 = *points[static_cast<size_t>(s + 2)];
    const Point& p3 = *points[static_cast<size_t>(s + 3)];
    // Thins and fades towards the tip; the last span of ten points is width 0.
    const float width = numpoints / 2 - static_cast<float>(s) + 1;
    for (const float t : {0.0f, 0.5f, 1.0f}) {
      const auto spline = [t](float a, float b, float c, float d) {
        return 0.5f * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t * t + (3 * b - a - 3 * c + d) * t * t * t);
      };
      const float cx = spline(static_cast<float>(p0.x), static_cast<float>(p1.x), static_cast<float>(p2.x),
                              static_cast<float>(p3.x));
      const float cy = spline(static_cast<float>(p0.y), static_cast<float>(p1.y), static_cast<float>(p2.y),
                              static_cast<float>(p3.y));
      if (penX == 0 && penY == 0) {
        penX = cx;
        penY = cy;
      }
      pf::setLineWidth(width);
      pf::setAlpha(width / 10);
      pf::drawLine(penX, penY, cx, cy);
      penX = cx;
      penY = cy;
    }
  }
  pf::setScale(1, 1);
}
