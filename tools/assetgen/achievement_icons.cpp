// The ten achievement icons: a dark round badge with a neon rim and an emblem
// for the feat. The dim variant (not yet earned) is the same icon greyed and
// darkened, so the screen shows what is still to win.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "canvas.hpp"
#include "images.hpp"
#include "shapes.hpp"

namespace gen {
namespace {

constexpr int kSize = 128;
constexpr float kC = 64.0f;
using Lines = std::vector<std::vector<Vec2>>;

void badge(Canvas& c, Colour hue) {
  const Sdf disc = [](float x, float y) { return sdCircle(x, y, kC, kC, 56.0f); };
  fillShapeShaded(
      c, disc,
      [hue](float x, float y) {
        const float k = std::clamp(std::hypot(x - kC, y - (kC - 18.0f)) / 70.0f, 0.0f, 1.0f);
        return mix(mix(Colour{0.05f, 0.07f, 0.14f}, hue, 0.22f), Colour{0.01f, 0.015f, 0.04f}, k);
      },
      0.92f);
  neonStroke(
      c, [](float x, float y) { return std::fabs(sdCircle(x, y, kC, kC, 53.5f)); }, hue, 1.3f, 3.0f, 0.6f);
  neonStroke(
      c, [](float x, float y) { return std::fabs(sdCircle(x, y, kC, kC, 47.0f)); }, scaled(hue, 0.5f), 0.4f, 1.5f,
      0.15f);
}

void lines(Canvas& c, const Lines& l, Colour hue, float halfWidth = 3.2f) {
  neonStroke(
      c, [&](float x, float y) { return sdPolylines(x, y, l); }, hue, halfWidth, 5.0f, 0.75f);
}

void solid(Canvas& c, const std::vector<Vec2>& poly, Colour hue) {
  const Sdf s = [&](float x, float y) { return sdPolygon(x, y, poly); };
  glowShape(c, s, hue, 5.0f, 0.55f);
  fillShape(c, s, mix(hue, Colour{1, 1, 1}, 0.35f));
  neonStroke(
      c, [&](float x, float y) { return std::fabs(s(x, y) + 1.0f); }, mix(hue, Colour{1, 1, 1}, 0.7f), 0.6f, 1.5f,
      0.3f);
}

// A four-pointed twinkle.
void twinkle(Canvas& c, float x, float y, float r, Colour hue) {
  lines(c, {{{x - r, y}, {x + r, y}}, {{x, y - r}, {x, y + r}}}, hue, 0.9f);
}

Lines text(const char* s, float height) {
  const float spacing = 0.12f;
  const auto n = static_cast<float>(std::strlen(s));
  const float width = (n * 0.6f + (n - 1.0f) * spacing) * height;
  return strokeText(s, kC - width * 0.5f, kC - height * 0.5f, height, spacing);
}

Lines shifted(Lines l, float dx, float dy) {
  for (auto& line : l)
    for (Vec2& v : line) v = {v.x + dx, v.y + dy};
  return l;
}

void perfect(Canvas& c) {
  const Colour gold{1.0f, 0.78f, 0.22f};
  badge(c, gold);
  solid(c, starPoints(kC, kC + 3.0f, 36.0f, 15.0f, 5), gold);
  twinkle(c, 95.0f, 32.0f, 7.0f, Colour{1.0f, 0.95f, 0.7f});
  twinkle(c, 32.0f, 94.0f, 5.0f, Colour{1.0f, 0.95f, 0.7f});
}

void epicFail(Canvas& c) {
  const Colour red{1.0f, 0.2f, 0.18f};
  badge(c, red);
  lines(c, {{{30, 40}, {50, 62}, {62, 50}, {90, 86}}, {{75, 88}, {92, 88}, {92, 70}}}, red);
}

void easyPeesy(Canvas& c) {
  const Colour green{0.3f, 1.0f, 0.4f};
  badge(c, green);
  lines(c, {{{36, 66}, {55, 85}, {92, 42}}}, green, 4.5f);
}

void goHyper(Canvas& c) {
  const Colour violet{0.8f, 0.35f, 1.0f};
  badge(c, violet);
  solid(c, {{72, 18}, {38, 70}, {60, 70}, {50, 110}, {90, 54}, {67, 54}, {82, 18}}, violet);
}

void powerUps(Canvas& c) {
  const Colour blue{0.3f, 0.7f, 1.0f};
  badge(c, blue);
  glowShape(
      c, [](float x, float y) { return sdCircle(x, y, kC, kC, 26.0f); }, blue, 8.0f, 0.25f);
  lines(c, {arcPoints(kC, kC, 30.0f, 0.0f, 360.0f, 64)}, blue, 2.0f);
  lines(c, text("?", 36.0f), Colour{0.85f, 0.95f, 1.0f}, 3.0f);
}

void multiplier(Canvas& c, const char* label, Colour hue) {
  badge(c, hue);
  lines(c, shifted(text(label, 38.0f), 0.0f, 1.0f), hue, 3.2f);
}

void loveJelly(Canvas& c) {
  const Colour pink{1.0f, 0.4f, 0.78f};
  badge(c, pink);
  // Bell: upper half of an ellipse with a scalloped rim.
  std::vector<Vec2> bell;
  for (int i = 0; i <= 40; ++i) {
    const float a = 3.14159265f * (1.0f + static_cast<float>(i) / 40.0f);
    bell.push_back({58.0f + 26.0f * std::cos(a), 60.0f + 24.0f * std::sin(a)});
  }
  for (int i = 0; i <= 20; ++i) {
    const float x = 84.0f - 52.0f * static_cast<float>(i) / 20.0f;
    bell.push_back({x, 60.0f + 2.5f * std::fabs(std::sin(static_cast<float>(i) * 3.14159265f / 5.0f))});
  }
  const Sdf s = [&](float x, float y) { return sdPolygon(x, y, bell); };
  glowShape(c, s, pink, 5.0f, 0.4f);
  fillShape(c, s, Colour{0.55f, 0.15f, 0.45f}, 0.85f);
  neonStroke(
      c, [&](float x, float y) { return std::fabs(s(x, y)); }, pink, 1.6f, 3.0f, 0.5f);
  Lines tentacles;
  for (int k = 0; k < 4; ++k) {
    std::vector<Vec2> t;
    const float x0 = 40.0f + 12.0f * static_cast<float>(k);
    for (int i = 0; i <= 16; ++i) {
      const float f = static_cast<float>(i) / 16.0f;
      t.push_back({x0 + 3.5f * std::sin(f * 9.0f + static_cast<float>(k)), 64.0f + 34.0f * f});
    }
    tentacles.push_back(t);
  }
  lines(c, tentacles, pink, 1.3f);
  // A little heart beside it.
  std::vector<Vec2> heart;
  for (int i = 0; i < 60; ++i) {
    const float t = 6.2831853f * static_cast<float>(i) / 60.0f;
    heart.push_back(
        {92.0f + 0.55f * 16.0f * std::pow(std::sin(t), 3.0f),
         36.0f - 0.55f * (13.0f * std::cos(t) - 5.0f * std::cos(2 * t) - 2.0f * std::cos(3 * t) - std::cos(4 * t))});
  }
  solid(c, heart, Colour{1.0f, 0.25f, 0.45f});
}

void speedDemon(Canvas& c) {
  const Colour ember{1.0f, 0.42f, 0.15f};
  badge(c, ember);
  const float cx = 72.0f, cy = 68.0f;
  lines(c, {arcPoints(cx, cy, 24.0f, 0.0f, 360.0f, 64)}, ember, 3.0f);
  lines(c, {{{cx, cy - 24.0f}, {cx, cy - 31.0f}}, {{cx - 6.0f, cy - 32.0f}, {cx + 6.0f, cy - 32.0f}}}, ember, 2.6f);
  // The hand near the end of the dial: little time used.
  lines(c, {{{cx, cy}, {cx + 9.0f, cy - 15.0f}}}, Colour{1.0f, 0.85f, 0.6f}, 2.2f);
  lines(c, {{{22, 58}, {40, 58}}, {{18, 70}, {40, 70}}, {{24, 82}, {42, 82}}}, ember, 2.2f);
}

void paintIcon(Canvas& c, int index) {
  switch (index) {
    case 0: perfect(c); break;
    case 1: epicFail(c); break;
    case 2: easyPeesy(c); break;
    case 3: goHyper(c); break;
    case 4: powerUps(c); break;
    case 5: multiplier(c, "20x", Colour{0.2f, 0.9f, 1.0f}); break;
    case 6: multiplier(c, "30x", Colour{0.7f, 0.45f, 1.0f}); break;
    case 7: multiplier(c, "40x", Colour{1.0f, 0.55f, 0.15f}); break;
    case 8: loveJelly(c); break;
    default: speedDemon(c); break;
  }
}

// Greys the colours and halves the light; the shape stays readable.
void dim(std::vector<uint8_t>& rgba) {
  for (size_t i = 0; i < rgba.size(); i += 4) {
    const float r = rgba[i] / 255.0f, g = rgba[i + 1] / 255.0f, b = rgba[i + 2] / 255.0f;
    const float grey = 0.3f * r + 0.59f * g + 0.11f * b;
    const Colour out = scaled(mix(Colour{r, g, b}, Colour{grey, grey, grey * 1.1f}, 0.85f), 0.42f);
    rgba[i] = toByte(out.r);
    rgba[i + 1] = toByte(out.g);
    rgba[i + 2] = toByte(out.b);
    rgba[i + 3] = toByte(rgba[i + 3] / 255.0f * 0.85f);
  }
}

}  // namespace

Bytes achievementIconPng(int index, bool dimmed) {
  Canvas c(kSize, kSize);
  paintIcon(c, index);
  std::vector<uint8_t> rgba = c.toRgba8();
  if (dimmed) dim(rgba);
  return encodePng(kSize, kSize, rgba);
}

}  // namespace gen
