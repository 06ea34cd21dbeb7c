#include "canvas.hpp"

#include <algorithm>
#include <cmath>

namespace gen {

uint8_t toByte(float v) {
  const float c = std::clamp(v, 0.0f, 1.0f);
  return static_cast<uint8_t>(std::lround(c * 255.0f));
}

Canvas::Canvas(int width, int height) : width_(width), height_(height), px_(static_cast<size_t>(width) * height) {}

void Canvas::over(int x, int y, Colour c, float coverage) {
  if (coverage <= 0.0f) return;
  coverage = std::min(coverage, 1.0f);
  Premul& p = at(x, y);
  const float keep = 1.0f - coverage;
  p.r = c.r * coverage + p.r * keep;
  p.g = c.g * coverage + p.g * keep;
  p.b = c.b * coverage + p.b * keep;
  p.a = coverage + p.a * keep;
}

void Canvas::addLight(int x, int y, Colour c, float intensity) {
  if (intensity <= 0.0f) return;
  Premul& p = at(x, y);
  p.r += c.r * intensity;
  p.g += c.g * intensity;
  p.b += c.b * intensity;
}

std::vector<uint8_t> Canvas::toRgba8() const {
  std::vector<uint8_t> out(px_.size() * 4);
  for (size_t i = 0; i < px_.size(); ++i) {
    const Premul& p = px_[i];
    // Light beyond the covered alpha becomes extra opacity of its own colour.
    const float a = std::clamp(std::max({p.a, p.r, p.g, p.b}), 0.0f, 1.0f);
    uint8_t* o = &out[i * 4];
    const uint8_t alpha = toByte(a);
    if (alpha == 0) {
      o[0] = o[1] = o[2] = o[3] = 0;
      continue;
    }
    o[0] = toByte(p.r / a);
    o[1] = toByte(p.g / a);
    o[2] = toByte(p.b / a);
    o[3] = alpha;
  }
  return out;
}

std::vector<uint8_t> Canvas::toRgb8OverBlack() const {
  std::vector<uint8_t> out(px_.size() * 3);
  for (size_t i = 0; i < px_.size(); ++i) {
    out[i * 3 + 0] = toByte(px_[i].r);
    out[i * 3 + 1] = toByte(px_[i].g);
    out[i * 3 + 2] = toByte(px_[i].b);
  }
  return out;
}

}  // namespace gen
