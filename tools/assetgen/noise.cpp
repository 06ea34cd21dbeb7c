// Gradient noise with quintic fade; gradients come from position hashes.
#include "noise.hpp"

#include <cmath>

#include "rng.hpp"

namespace gen {
namespace {

inline float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

inline int wrap(int i, int period) {
  const int m = i % period;
  return m < 0 ? m + period : m;
}

// 256 unit gradients evenly spread around the circle.
struct GradientTable {
  GradientTable() {
    for (int i = 0; i < 256; ++i) {
      const double a = 6.283185307179586 * (i + 0.5) / 256.0;
      x[i] = static_cast<float>(std::cos(a));
      y[i] = static_cast<float>(std::sin(a));
    }
  }
  float x[256], y[256];
};

// Dot product of the lattice gradient at (ix, iy) with the offset (dx, dy).
inline float gradDot(int ix, int iy, uint32_t seed, float dx, float dy) {
  static const GradientTable table;
  const uint32_t h = hashInts(static_cast<uint32_t>(ix), static_cast<uint32_t>(iy), seed) >> 24;
  return table.x[h] * dx + table.y[h] * dy;
}

}  // namespace

float periodicNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int x0 = static_cast<int>(fx);
  const int y0 = static_cast<int>(fy);
  const float dx = x - fx;
  const float dy = y - fy;
  const int ax = wrap(x0, periodX), bx = wrap(x0 + 1, periodX);
  const int ay = wrap(y0, periodY), by = wrap(y0 + 1, periodY);
  const float n00 = gradDot(ax, ay, seed, dx, dy);
  const float n10 = gradDot(bx, ay, seed, dx - 1.0f, dy);
  const float n01 = gradDot(ax, by, seed, dx, dy - 1.0f);
  const float n11 = gradDot(bx, by, seed, dx - 1.0f, dy - 1.0f);
  const float u = fade(dx);
  const float v = fade(dy);
  const float a = n00 + (n10 - n00) * u;
  const float b = n01 + (n11 - n01) * u;
  return (a + (b - a) * v) * 1.41421356f;
}

float periodicFbm(float x, float y, int periodX, int periodY, int octaves, float gain, uint32_t seed) {
  float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * periodicNoise(x, y, periodX, periodY, seed + static_cast<uint32_t>(o) * 7919U);
    norm += amplitude;
    amplitude *= gain;
    x *= 2.0f;
    y *= 2.0f;
    periodX *= 2;
    periodY *= 2;
  }
  return sum / norm;
}

float noise1(float x, uint32_t seed) {
  const float fx = std::floor(x);
  const int i = static_cast<int>(fx);
  const float d = x - fx;
  const float g0 = hashUnit(hashInts(static_cast<uint32_t>(i), seed)) * 2.0f - 1.0f;
  const float g1 = hashUnit(hashInts(static_cast<uint32_t>(i + 1), seed)) * 2.0f - 1.0f;
  const float a = g0 * d;
  const float b = g1 * (d - 1.0f);
  return (a + (b - a) * fade(d)) * 2.0f;
}

float fbm1(float x, int octaves, float gain, uint32_t seed) {
  float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * noise1(x, seed + static_cast<uint32_t>(o) * 104729U);
    norm += amplitude;
    amplitude *= gain;
    x *= 2.0f;
  }
  return sum / norm;
}

}  // namespace gen
