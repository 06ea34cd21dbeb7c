#include "shapes.hpp"

#include <algorithm>
#include <cmath>

namespace gen {
namespace {

constexpr float kDegToRad = 3.14159265f / 180.0f;

// Exponential falloff that reaches exactly zero, so halos never leave a faint
// haze up to the image border.
float falloff(float distance, float radius) {
  constexpr float kFloor = 0.03f;
  return std::max(0.0f, std::exp(-distance / radius) - kFloor) / (1.0f - kFloor);
}

// Calls fn(x, y, px, py) for every pixel, with (x, y) the pixel centre.
template <typename Fn>
void forEachPixel(Canvas& c, Fn&& fn) {
  for (int py = 0; py < c.height(); ++py)
    for (int px = 0; px < c.width(); ++px) fn(static_cast<float>(px) + 0.5f, static_cast<float>(py) + 0.5f, px, py);
}

std::vector<Vec2> ellipsePoints(float cx, float cy, float rx, float ry, float a0, float a1, int steps) {
  std::vector<Vec2> pts;
  for (int i = 0; i <= steps; ++i) {
    const float a = (a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(steps)) * kDegToRad;
    pts.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return pts;
}

std::vector<Vec2> joined(std::vector<Vec2> a, const std::vector<Vec2>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

float sdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float sdSegment(float x, float y, Vec2 a, Vec2 b) {
  const float pax = x - a.x, pay = y - a.y;
  const float bax = b.x - a.x, bay = b.y - a.y;
  const float len2 = bax * bax + bay * bay;
  const float h = len2 > 0.0f ? std::clamp((pax * bax + pay * bay) / len2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(pax - bax * h, pay - bay * h);
}

float sdPolyline(float x, float y, const std::vector<Vec2>& pts) {
  float d = 1e9f;
  if (pts.size() == 1) return std::hypot(x - pts[0].x, y - pts[0].y);
  for (size_t i = 0; i + 1 < pts.size(); ++i) d = std::min(d, sdSegment(x, y, pts[i], pts[i + 1]));
  return d;
}

float sdPolygon(float x, float y, const std::vector<Vec2>& pts) {
  float d = 1e9f;
  bool inside = false;
  const size_t n = pts.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    d = std::min(d, sdSegment(x, y, pts[j], pts[i]));
    const Vec2 a = pts[i], b = pts[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside ? -d : d;
}

float sdRoundRect(float x, float y, float cx, float cy, float halfW, float halfH, float radius) {
  const float qx = std::fabs(x - cx) - halfW + radius;
  const float qy = std::fabs(y - cy) - halfH + radius;
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

std::vector<Vec2> arcPoints(float cx, float cy, float r, float a0, float a1, int steps) {
  return ellipsePoints(cx, cy, r, r, a0, a1, steps);
}

std::vector<Vec2> starPoints(float cx, float cy, float outer, float inner, int points) {
  std::vector<Vec2> pts;
  for (int i = 0; i < points * 2; ++i) {
    const float a = (-90.0f + 180.0f * static_cast<float>(i) / static_cast<float>(points)) * kDegToRad;
    const float r = (i % 2 == 0) ? outer : inner;
    pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return pts;
}

void fillShape(Canvas& c, const Sdf& sdf, Colour colour, float opacity) {
  forEachPixel(c, [&](float x, float y, int px, int py) {
    c.over(px, py, colour, std::clamp(0.5f - sdf(x, y), 0.0f, 1.0f) * opacity);
  });
}

void fillShapeShaded(Canvas& c, const Sdf& sdf, const std::function<Colour(float, float)>& shade, float opacity) {
  forEachPixel(c, [&](float x, float y, int px, int py) {
    const float coverage = std::clamp(0.5f - sdf(x, y), 0.0f, 1.0f) * opacity;
    if (coverage > 0.0f) c.over(px, py, shade(x, y), coverage);
  });
}

void glowShape(Canvas& c, const Sdf& sdf, Colour colour, float radius, float intensity) {
  forEachPixel(c, [&](float x, float y, int px, int py) {
    const float d = std::max(sdf(x, y), 0.0f);
    c.addLight(px, py, colour, intensity * falloff(d, radius));
  });
}

void neonStroke(Canvas& c, const Sdf& line, Colour colour, float halfWidth, float glowRadius, float glow) {
  const Colour hot = mix(colour, Colour{1, 1, 1}, 0.55f);
  forEachPixel(c, [&](float x, float y, int px, int py) {
    const float d = line(x, y) - halfWidth;
    const float core = std::clamp(0.5f - d, 0.0f, 1.0f);
    const float halo = glow * falloff(std::max(d, 0.0f), glowRadius);
    c.addLight(px, py, hot, core);
    c.addLight(px, py, colour, halo * (1.0f - 0.5f * core));
  });
}

std::vector<std::vector<Vec2>> strokeGlyph(char ch) {
  switch (ch) {
    case '0': return {ellipsePoints(0.3f, 0.5f, 0.27f, 0.47f, 0.0f, 360.0f, 40)};
    case '2': return {joined(arcPoints(0.3f, 0.28f, 0.25f, 185.0f, 400.0f, 24), {{0.03f, 0.97f}, {0.58f, 0.97f}})};
    case '3':
      return {joined(arcPoints(0.3f, 0.265f, 0.225f, 200.0f, 450.0f, 24),
                     arcPoints(0.3f, 0.74f, 0.25f, 270.0f, 520.0f, 26))};
    case '4': return {{{0.42f, 0.97f}, {0.42f, 0.03f}, {0.02f, 0.68f}, {0.6f, 0.68f}}};
    case 'x': return {{{0.06f, 0.45f}, {0.54f, 0.97f}}, {{0.54f, 0.45f}, {0.06f, 0.97f}}};
    case '?': return {joined(arcPoints(0.3f, 0.27f, 0.24f, 190.0f, 420.0f, 24), {{0.3f, 0.72f}}), {{0.3f, 0.93f}}};
    case '!': return {{{0.3f, 0.03f}, {0.3f, 0.7f}}, {{0.3f, 0.93f}}};
    default: return {};
  }
}

std::vector<std::vector<Vec2>> strokeText(const char* text, float x, float y, float height, float spacing) {
  std::vector<std::vector<Vec2>> out;
  for (const char* p = text; *p != '\0'; ++p) {
    for (auto line : strokeGlyph(*p)) {
      for (Vec2& v : line) v = {x + v.x * height, y + v.y * height};
      out.push_back(std::move(line));
    }
    x += (0.6f + spacing) * height;
  }
  return out;
}

float sdPolylines(float x, float y, const std::vector<std::vector<Vec2>>& lines) {
  float d = 1e9f;
  for (const auto& l : lines) d = std::min(d, sdPolyline(x, y, l));
  return d;
}

}  // namespace gen
