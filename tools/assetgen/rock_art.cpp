// The rock images: the wall strip beside the water and the faint background.
#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas.hpp"
#include "images.hpp"
#include "noise.hpp"

namespace gen {
namespace {

float smoothstep(float a, float b, float x) {
  const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

// Cracks: bright where the noise crosses zero, as thin ridges.
float ridges(float x, float y, int px, int py, uint32_t seed) {
  const float n = std::fabs(periodicFbm(x, y, px, py, 3, 0.5f, seed));
  return std::pow(std::max(0.0f, 1.0f - n * 6.0f), 3.0f);
}

}  // namespace

// Column 0 faces the water (both walls put it innermost); the rock fills the
// columns beyond a ragged edge. The game adds the columns as light with more
// weight further out, so the rim must be vivid to read through its low weight.
// The stone is a height field (boulders, crags and sunken cracks) lit from the
// water side: faces turned to the glow catch a cold light, the rest falls into
// shadow, so the strip reads as rock rather than a flat texture. The light has
// no vertical component because the game also draws the strip upside down.
Bytes rockWallPng() {
  constexpr int kW = 112, kH = 662;
  // Every noise below repeats after 600 rows, the height the game grabs.
  std::vector<float> edge(kH);
  for (int y = 0; y < kH; ++y) {
    const float fy = static_cast<float>(y);
    // Edge position: broad bulges plus small crags, about 15..85 columns in.
    const float broad = periodicFbm(fy / 150.0f, 0.5f, 4, 1, 3, 0.45f, 7);
    const float crag = periodicFbm(fy / 20.0f, 3.5f, 30, 8, 2, 0.5f, 8);
    edge[static_cast<size_t>(y)] = 48.0f + 44.0f * broad + 8.0f * crag;
  }
  // Height of the stone; a pixel beyond the bottom row wraps with the noise.
  auto heightAt = [&](float x, float y) {
    const float u = x / 28.0f, v = y / 30.0f;
    const float boulders = periodicFbm(u * 0.5f, v * 0.5f, 2, 10, 3, 0.5f, 29);
    const float grain = periodicFbm(u, v, 4, 20, 5, 0.55f, 31);
    return 1.2f * boulders + 0.45f * grain - 0.5f * ridges(u, v, 4, 20, 41);
  };
  std::vector<float> height(static_cast<size_t>(kW + 2) * (kH + 2));
  for (int y = -1; y <= kH; ++y)
    for (int x = -1; x <= kW; ++x)
      height[static_cast<size_t>(y + 1) * (kW + 2) + (x + 1)] =
          heightAt(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
  auto h = [&](int x, int y) { return height[static_cast<size_t>(y + 1) * (kW + 2) + (x + 1)]; };

  // Light from the water side, slightly in front of the wall.
  const float lx = -0.75f, lz = 0.66f;
  Canvas canvas(kW, kH);
  for (int y = 0; y < kH; ++y) {
    const float fy = static_cast<float>(y);
    const float rimEdge = edge[static_cast<size_t>(y)];
    for (int x = 0; x < kW; ++x) {
      const float fx = static_cast<float>(x) + 0.5f;
      const float depth = fx - rimEdge;  // > 0 inside the rock
      const float coverage = std::clamp(depth + 0.5f, 0.0f, 1.0f);
      const Colour rimColour{0.35f, 1.0f, 0.95f};
      if (coverage > 0.0f) {
        // The stone bulges up towards the rim, so its lip faces the water.
        const float lip = 3.0f * std::exp(-std::max(depth, 0.0f) / 9.0f);
        const float gx = 3.5f * (h(x + 1, y) - h(x - 1, y)) - 0.5f * lip / 9.0f;
        const float gy = 3.5f * (h(x, y + 1) - h(x, y - 1));
        const float lit = std::max(0.0f, (gx * -lx + lz) / std::sqrt(gx * gx + gy * gy + 1.0f));
        const float hh = h(x, y);
        const float crack = ridges(fx / 28.0f, fy / 30.0f, 4, 20, 41);
        const float occlusion = std::clamp(0.75f + 0.35f * hh, 0.35f, 1.0f) * (1.0f - 0.75f * crack);
        // The game weights outer columns more; dimming them keeps the rim the
        // brightest part of the wall.
        const float outward = 1.0f - 0.4f * fx / kW;
        const float shade = (0.05f + 0.42f * lit * lit) * occlusion * outward;
        const Colour stone{shade * 0.6f, shade * 0.72f, shade * 0.95f};
        canvas.over(x, y, stone, coverage);
        // Lit rim: a hot line at the edge, and a cold sheen on the faces
        // just behind it that turn to the water.
        const float rim = 1.3f * std::exp(-std::max(depth, 0.0f) / 2.5f);
        const float sheen = std::exp(-std::max(depth, 0.0f) / 12.0f) * 0.45f * lit;
        canvas.addLight(x, y, rimColour, coverage * (rim + sheen));
        // Glowing mineral veins along some cracks, mostly near the rim.
        const float tex = periodicFbm(fx / 28.0f, fy / 30.0f, 4, 20, 5, 0.55f, 31) * 0.5f + 0.5f;
        const float vein = crack * smoothstep(0.55f, 0.8f, tex) * std::exp(-depth / 40.0f);
        canvas.addLight(x, y, Colour{0.2f, 0.75f, 1.0f}, coverage * vein * 0.8f);
      }
      // A faint halo on the water side of the rim.
      if (depth < 0.0f) canvas.addLight(x, y, rimColour, 0.35f * std::exp(depth / 3.0f));
    }
  }
  return encodePng(kW, kH, canvas.toRgba8());
}

// Dark blue-grey rock, tileable in both directions; drawn very faintly and
// scrolled, so it only needs to break up the flat black. A height field lit
// from the upper left gives the stone some relief.
Bytes rockBackgroundPng() {
  constexpr int kW = 800, kH = 600;
  std::vector<float> height(static_cast<size_t>(kW) * kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const float u = static_cast<float>(x) / 100.0f, v = static_cast<float>(y) / 100.0f;
      const float base = periodicFbm(u, v, 8, 6, 6, 0.55f, 53);
      const float boulders = periodicFbm(u * 0.5f, v * 0.5f, 4, 3, 2, 0.5f, 59);
      height[static_cast<size_t>(y) * kW + x] = base + 0.5f * boulders - 0.6f * ridges(u, v, 8, 6, 61);
    }
  }
  auto at = [&](int x, int y) { return height[static_cast<size_t>((y + kH) % kH) * kW + (x + kW) % kW]; };
  std::vector<uint8_t> rgba(static_cast<size_t>(kW) * kH * 4);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const float h = at(x, y);
      const float slope = at(x - 1, y - 1) - at(x + 1, y + 1);
      const float shade = std::clamp((0.3f + 0.35f * h) * (1.0f + 6.0f * slope), 0.02f, 1.0f) * 0.6f;
      uint8_t* p = &rgba[(static_cast<size_t>(y) * kW + x) * 4];
      p[0] = toByte(shade * 0.62f);
      p[1] = toByte(shade * 0.72f);
      p[2] = toByte(shade * 0.95f);
      p[3] = 255;
    }
  }
  return encodePng(kW, kH, rgba);
}

}  // namespace gen
