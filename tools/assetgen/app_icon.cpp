// The application icon: the mark of the game's logo screen (a ring of glow
// sprites running from cyan through violet round a white pearl, over deep
// water) on a rounded tile of dark sea. Painted at each size rather than
// scaled down, so the small icons stay crisp.
#include <algorithm>
#include <cmath>

#include "canvas.hpp"
#include "images.hpp"
#include "shapes.hpp"

namespace gen {
namespace {

constexpr float kPi = 3.14159265f;
// The logo's mark in its own screen pixels: the ring of glows round the
// pearl, each glow a 64-pixel sprite scaled. The icon frames this much of it.
constexpr float kMarkSpan = 230.0f;
constexpr float kRingRadius = 78.0f;
constexpr int kRingGlows = 40;
constexpr float kSpriteRadius = 32.0f;
// The logo's look when fully lit, 150 frames in.
constexpr float kTimer = 150.0f;

struct Light {
  Canvas& canvas;
  float centre;  // icon pixels of the mark's centre
  float scale;   // icon pixels per logo pixel

  // One glow sprite at (x, y) logo pixels from the mark's centre, drawn with
  // additive light as the logo draws it.
  void glow(float x, float y, float spriteScale, Colour tint, float alpha) const {
    const float radius = kSpriteRadius * spriteScale * scale;
    const float cx = centre + x * scale, cy = centre + y * scale;
    const int x0 = std::max(0, static_cast<int>(cx - radius)),
              x1 = std::min(canvas.width() - 1, static_cast<int>(cx + radius));
    const int y0 = std::max(0, static_cast<int>(cy - radius)),
              y1 = std::min(canvas.height() - 1, static_cast<int>(cy + radius));
    for (int py = y0; py <= y1; ++py) {
      for (int px = x0; px <= x1; ++px) {
        const float dx = (static_cast<float>(px) + 0.5f - cx) / radius;
        const float dy = (static_cast<float>(py) + 0.5f - cy) / radius;
        canvas.addLight(px, py, tint, alpha * glowSpriteAlpha(dx * dx + dy * dy));
      }
    }
  }
};

Colour rgb(float r, float g, float b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

// Cyan to violet to magenta round the ring and back, as on the logo.
Colour ringTint(float t) {
  const float w = 0.5f + 0.5f * std::cos(t * 2.0f * kPi);
  return rgb(40.0f + 215.0f * (1.0f - w), 70.0f + 160.0f * w, 255.0f);
}

void paintTile(Canvas& c) {
  const float size = static_cast<float>(c.width());
  const float half = size * 0.5f, inset = std::max(0.5f, size * 0.03f);
  const Sdf tile = [=](float x, float y) {
    return sdRoundRect(x, y, half, half, half - inset, half - inset, size * 0.2f);
  };
  fillShapeShaded(c, tile, [=](float, float y) {
    return mix(Colour{0.03f, 0.09f, 0.2f}, Colour{0.005f, 0.015f, 0.05f}, y / size);
  });
}

void paintMark(const Light& light) {
  light.glow(0.0f, 0.0f, 6.0f, rgb(20, 70, 140), 0.6f);
  const float spin = kTimer * 0.6f;
  for (int i = 0; i < kRingGlows; ++i) {
    const float t = static_cast<float>(i) / kRingGlows;
    const float angle = (t * 360.0f + spin) * kPi / 180.0f;
    const float wave = 0.5f + 0.5f * std::sin((t * 720.0f - kTimer * 4.0f) * kPi / 180.0f);
    light.glow(kRingRadius * std::cos(angle), kRingRadius * std::sin(angle), 0.55f + 0.25f * wave, ringTint(t),
               0.35f + 0.45f * wave);
  }
  light.glow(0.0f, 0.0f, 2.75f, rgb(60, 160, 255), 0.55f);
  light.glow(0.0f, 0.0f, 1.1f, rgb(200, 245, 255), 1.0f);
  light.glow(0.0f, 0.0f, 0.5f, rgb(255, 255, 255), 1.0f);
}

}  // namespace

Bytes appIconPng(int size) {
  Canvas c(size, size);
  paintTile(c);
  const float s = static_cast<float>(size);
  paintMark(Light{c, s * 0.5f, s / kMarkSpan});
  // Light is kept to the tile's own coverage, so none spills past its outline
  // and its rim stays as smooth as the tile alone.
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Premul& p = c.at(x, y);
      p.r = std::min(p.r, p.a);
      p.g = std::min(p.g, p.a);
      p.b = std::min(p.b, p.a);
    }
  }
  return encodePng(size, size, c.toRgba8());
}

}  // namespace gen
