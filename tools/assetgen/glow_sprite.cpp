// The glow sprite: white light whose alpha falls smoothly from a bright core
// to exactly zero at the rim, so tinted and scaled copies never show an edge.
#include <algorithm>
#include <cmath>

#include "canvas.hpp"
#include "images.hpp"

namespace gen {

float glowSpriteAlpha(float r2) {
  const float body = std::pow(std::max(0.0f, 1.0f - r2), 2.2f);
  const float core = 0.55f + 0.45f * std::exp(-r2 * 10.0f);
  return body * core;
}

Bytes glowSpritePng() {
  constexpr int kSize = 64;
  constexpr float kCentre = kSize * 0.5f;
  std::vector<uint8_t> rgba(kSize * kSize * 4);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float dx = (static_cast<float>(x) + 0.5f - kCentre) / kCentre;
      const float dy = (static_cast<float>(y) + 0.5f - kCentre) / kCentre;
      uint8_t* p = &rgba[static_cast<size_t>(y * kSize + x) * 4];
      p[0] = p[1] = p[2] = 255;
      p[3] = toByte(glowSpriteAlpha(dx * dx + dy * dy));
    }
  }
  return encodePng(kSize, kSize, rgba);
}

}  // namespace gen
