// HUD emblems: the energy bar frame, the lives heart and the flame.
#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas.hpp"
#include "images.hpp"
#include "shapes.hpp"

namespace gen {
namespace {

constexpr float kPi = 3.14159265f;

// Teardrop outline with its tip at (tipX, tipY), its round end `length` away
// along `angle` (degrees, y down) and the given width.
std::vector<Vec2> teardrop(float tipX, float tipY, float length, float width, float angle) {
  std::vector<Vec2> pts;
  const float a = angle * kPi / 180.0f;
  const float ca = std::cos(a), sa = std::sin(a);
  for (int i = 0; i < 64; ++i) {
    const float t = 2.0f * kPi * static_cast<float>(i) / 64.0f;
    // Classic drop curve: tip at t = 0, round at t = pi.
    const float along = (1.0f - std::cos(t)) * 0.5f * length;
    const float across = std::sin(t) * std::pow(std::sin(t * 0.5f), 1.4f) * width * 0.5f;
    pts.push_back({tipX + along * ca - across * sa, tipY + along * sa + across * ca});
  }
  return pts;
}

}  // namespace

// Frame of the special-energy bar: the game draws the bar's glow segments up
// a channel centred 26 px from the left, from row 245 up to row 6. The frame
// is drawn over the bar with alpha blending, so the channel stays fully
// transparent: any tint there would dim the bar's light.
Bytes powerBarFramePng() {
  constexpr int kW = 50, kH = 250;
  constexpr float kCx = 26.0f;
  Canvas c(kW, kH);
  const Colour rim{0.45f, 0.85f, 1.0f};
  const Sdf outline = [&](float x, float y) { return std::fabs(sdRoundRect(x, y, kCx, 125.0f, 13.0f, 121.5f, 7.0f)); };
  neonStroke(c, outline, rim, 0.9f, 2.2f, 0.55f);
  // Scale ticks on the right, every tenth of the bar, longer at the half.
  std::vector<std::vector<Vec2>> ticks;
  for (int i = 0; i <= 10; ++i) {
    const float y = 245.0f - 23.9f * static_cast<float>(i);
    const float len = (i % 5 == 0) ? 6.0f : 3.5f;
    ticks.push_back({{kCx + 16.5f, y}, {kCx + 16.5f + len, y}});
  }
  neonStroke(
      c, [&](float x, float y) { return sdPolylines(x, y, ticks); }, rim, 0.45f, 1.2f, 0.35f);
  // Caps top and bottom.
  for (float y : {1.8f, 248.2f}) {
    const std::vector<Vec2> cap{{kCx - 8.0f, y}, {kCx + 8.0f, y}};
    neonStroke(
        c, [&](float x, float yy) { return sdPolyline(x, yy, cap); }, Colour{0.8f, 0.95f, 1.0f}, 0.8f, 1.5f, 0.5f);
  }
  return encodePng(kW, kH, c.toRgba8());
}

Bytes heartPng() {
  constexpr int kW = 43, kH = 38;
  Canvas c(kW, kH);
  std::vector<Vec2> outline;
  for (int i = 0; i < 120; ++i) {
    const float t = 2.0f * kPi * static_cast<float>(i) / 120.0f;
    const float x = 16.0f * std::pow(std::sin(t), 3.0f);
    const float y = 13.0f * std::cos(t) - 5.0f * std::cos(2 * t) - 2.0f * std::cos(3 * t) - std::cos(4 * t);
    outline.push_back({21.5f + 1.12f * x, 16.5f - 1.12f * y});
  }
  const Sdf heart = [&](float x, float y) { return sdPolygon(x, y, outline); };
  fillShapeShaded(c, heart, [](float x, float y) {
    // Light from the upper left.
    const float k = std::clamp(1.0f - std::hypot(x - 14.0f, y - 10.0f) / 30.0f, 0.0f, 1.0f);
    return mix(Colour{0.55f, 0.02f, 0.2f}, Colour{1.0f, 0.35f, 0.6f}, k);
  });
  neonStroke(
      c, [&](float x, float y) { return std::fabs(heart(x, y) + 1.2f); }, Colour{1.0f, 0.3f, 0.65f}, 0.7f, 1.6f, 0.6f);
  // A small highlight on the upper left lobe.
  glowShape(
      c, [](float x, float y) { return sdCircle(x, y, 13.0f, 10.5f, 1.2f); }, Colour{1.0f, 0.85f, 0.95f}, 1.8f, 0.9f);
  return encodePng(kW, kH, c.toRgba8());
}

Bytes flamePng() {
  constexpr int kW = 57, kH = 50;
  Canvas c(kW, kH);
  const std::vector<Vec2> body = teardrop(28.5f, 2.5f, 45.0f, 30.0f, 90.0f);
  const std::vector<Vec2> left = teardrop(14.0f, 12.0f, 34.0f, 16.0f, 70.0f);
  const std::vector<Vec2> right = teardrop(43.5f, 15.0f, 31.0f, 15.0f, 110.0f);
  const std::vector<Vec2> core = teardrop(28.5f, 17.0f, 29.0f, 15.0f, 90.0f);
  const Sdf flame = [&](float x, float y) {
    return std::min({sdPolygon(x, y, body), sdPolygon(x, y, left), sdPolygon(x, y, right)});
  };
  glowShape(c, flame, Colour{1.0f, 0.3f, 0.05f}, 2.5f, 0.45f);
  fillShapeShaded(c, flame, [](float x, float y) {
    const float heat = std::clamp(1.0f - std::hypot((x - 28.5f) * 1.2f, y - 40.0f) / 34.0f, 0.0f, 1.0f);
    return mix(Colour{0.85f, 0.12f, 0.02f}, Colour{1.0f, 0.62f, 0.1f}, heat);
  });
  fillShapeShaded(
      c, [&](float x, float y) { return sdPolygon(x, y, core); },
      [](float x, float y) {
        const float heat = std::clamp(1.0f - std::hypot(x - 28.5f, y - 40.0f) / 24.0f, 0.0f, 1.0f);
        return mix(Colour{1.0f, 0.75f, 0.2f}, Colour{1.0f, 0.98f, 0.85f}, heat);
      });
  neonStroke(
      c, [&](float x, float y) { return std::fabs(flame(x, y) + 0.8f); }, Colour{1.0f, 0.5f, 0.1f}, 0.5f, 1.5f, 0.45f);
  return encodePng(kW, kH, c.toRgba8());
}

}  // namespace gen
