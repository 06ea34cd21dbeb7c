#include "platform/sdl/sprite_hull.hpp"

#include <algorithm>
#include <climits>

namespace pf {
namespace {

// A sampled alpha s (0 to 255) drawn with vertex alpha p gives an alpha byte
// of s * p / 255, rounded: zero while s * p < 127.5. Texels count as
// visible from a product of this much, which leaves room for the rounding
// of the rasteriser's interpolation.
constexpr int kVisibleProduct = 96;

// A bilinear sample reaches the texels whose centres lie less than one texel
// away along each axis (nearest sampling, half a texel), so along a diagonal
// it reaches less than two.
constexpr float kReach = 1.0f;
constexpr float kDiagonalReach = 2.0f;

struct Point {
  float s, t;
};

// Keeps the part of the polygon where a*s + b*t <= c (Sutherland-Hodgman).
int clipHalfPlane(const Point* in, int n, float a, float b, float c, Point* out) {
  int m = 0;
  for (int i = 0; i < n; ++i) {
    const Point& p = in[i];
    const Point& q = in[(i + 1) % n];
    const float dp = a * p.s + b * p.t - c;
    const float dq = a * q.s + b * q.t - c;
    if (dp <= 0) out[m++] = p;
    if ((dp < 0 && dq > 0) || (dp > 0 && dq < 0)) {
      const float f = dp / (dp - dq);
      out[m++] = Point{p.s + (q.s - p.s) * f, p.t + (q.t - p.t) * f};
    }
  }
  return m;
}

}  // namespace

void SpriteHull::build(const uint32_t* pixels, int width, int height) {
  const Bounds none{INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MIN};
  byAlpha_.assign(256, none);
  auto merge = [](Bounds& into, const Bounds& b) {
    into.minX = std::min(into.minX, b.minX);
    into.maxX = std::max(into.maxX, b.maxX);
    into.minY = std::min(into.minY, b.minY);
    into.maxY = std::max(into.maxY, b.maxY);
    into.minSum = std::min(into.minSum, b.minSum);
    into.maxSum = std::max(into.maxSum, b.maxSum);
    into.minDiff = std::min(into.minDiff, b.minDiff);
    into.maxDiff = std::max(into.maxDiff, b.maxDiff);
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t alpha = pixels[static_cast<size_t>(y) * width + x] >> 24;
      if (alpha != 0) merge(byAlpha_[alpha], Bounds{x, x, y, y, x + y, x + y, x - y, x - y});
    }
  }
  for (int a = 254; a >= 1; --a) merge(byAlpha_[a], byAlpha_[a + 1]);
}

int SpriteHull::clip(int paintAlpha, float s0, float t0, float s1, float t1, float* s, float* t) const {
  if (paintAlpha <= 0) return 0;
  const int least = kVisibleProduct / paintAlpha + 1;
  if (least > 255) return 0;
  const Bounds& b = byAlpha_[static_cast<size_t>(least)];
  if (b.empty()) return 0;
  // Texel x has its centre at x + 0.5, so x + y sums centres to x + y + 1.
  const float left = std::max(std::min(s0, s1), b.minX + 0.5f - kReach);
  const float right = std::min(std::max(s0, s1), b.maxX + 0.5f + kReach);
  const float top = std::max(std::min(t0, t1), b.minY + 0.5f - kReach);
  const float bottom = std::min(std::max(t0, t1), b.maxY + 0.5f + kReach);
  if (left >= right || top >= bottom) return 0;
  Point a[kMaxCorners + 1] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  Point c[kMaxCorners + 1];
  int n = 4;
  n = clipHalfPlane(a, n, -1, -1, -(b.minSum + 1 - kDiagonalReach), c);
  n = clipHalfPlane(c, n, 1, 1, b.maxSum + 1 + kDiagonalReach, a);
  n = clipHalfPlane(a, n, -1, 1, -(b.minDiff - kDiagonalReach), c);
  n = clipHalfPlane(c, n, 1, -1, b.maxDiff + kDiagonalReach, a);
  if (n < 3) return 0;
  for (int i = 0; i < n; ++i) {
    s[i] = a[i].s;
    t[i] = a[i].t;
  }
  return n;
}

}  // namespace pf
