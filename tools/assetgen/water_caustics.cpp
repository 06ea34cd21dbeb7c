// Water caustics: a thin network of light on black that tiles in both
// directions and loops in time. Two Voronoi layers whose cell edges are the
// light lines; the cell seeds circle on small closed orbits and a warp made of
// whole-period waves bends the edges, so frame 31 leads smoothly into frame 0.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "canvas.hpp"
#include "images.hpp"
#include "rng.hpp"

namespace gen {
namespace {

constexpr int kSize = 512;
constexpr float kTau = 6.2831853f;

struct Layer {
  int cells;        // cells across the tile
  float orbit;      // seed orbit radius, in cells
  float lineWidth;  // falloff width of a light line, in cells
  float weight;
  uint32_t seed;
};

// A coarse bright network and a finer faint one.
constexpr std::array<Layer, 2> kLayers = {{{5, 0.14f, 0.12f, 0.8f, 11}, {8, 0.17f, 0.16f, 0.3f, 23}}};

// One travelling wave of the warp: integer wave numbers keep it tileable and
// whole turns per loop keep it periodic in time.
struct Wave {
  int kx, ky, turns;
  float amplitude, phase;
};

std::vector<Wave> warpWaves(uint32_t seed) {
  std::vector<Wave> waves;
  for (uint32_t i = 0; waves.size() < 6; ++i) {
    const int kx = static_cast<int>(hashInts(seed, i, 1) % 9) - 4;
    const int ky = static_cast<int>(hashInts(seed, i, 2) % 9) - 4;
    if (kx == 0 && ky == 0) continue;
    const int turns = (hashInts(seed, i, 3) & 1) != 0 ? 1 : -1;
    const float k = std::hypot(static_cast<float>(kx), static_cast<float>(ky));
    const float amplitude = (0.02f + 0.02f * hashUnit(hashInts(seed, i, 4))) / k;
    waves.push_back({kx, ky, turns, amplitude, hashUnit(hashInts(seed, i, 5)) * kTau});
  }
  return waves;
}

// The warp offset of one axis over the whole tile at time t, in tile units.
std::vector<float> warpField(const std::vector<Wave>& waves, float t) {
  std::vector<float> field(static_cast<size_t>(kSize) * kSize, 0.0f);
  std::vector<float> su(kSize), cu(kSize), sv(kSize), cv(kSize);
  for (const Wave& w : waves) {
    const float phase = w.phase + kTau * static_cast<float>(w.turns) * t;
    for (int i = 0; i < kSize; ++i) {
      const float a = kTau * static_cast<float>(w.kx * i) / kSize + phase;
      const float b = kTau * static_cast<float>(w.ky * i) / kSize;
      su[i] = std::sin(a);
      cu[i] = std::cos(a);
      sv[i] = std::sin(b);
      cv[i] = std::cos(b);
    }
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x)
        field[static_cast<size_t>(y) * kSize + x] += w.amplitude * (su[x] * cv[y] + cu[x] * sv[y]);
  }
  return field;
}

struct Point {
  float x, y;
};

// Seeds of a layer at time t, each as an offset inside its cell, on a grid
// with a one-cell border copied from the opposite side so that lookups of a
// cell's neighbours never need to wrap.
class SeedGrid {
 public:
  SeedGrid(const Layer& layer, float t) : n_(layer.cells), stride_(layer.cells + 2) {
    seeds_.resize(static_cast<size_t>(stride_) * stride_);
    for (int j = -1; j <= n_; ++j) {
      for (int i = -1; i <= n_; ++i) {
        const auto ci = static_cast<uint32_t>((i + n_) % n_), cj = static_cast<uint32_t>((j + n_) % n_);
        const uint32_t h = hashInts(layer.seed, ci, cj);
        const float jx = 0.25f + 0.5f * hashUnit(hashInts(h, 1));
        const float jy = 0.25f + 0.5f * hashUnit(hashInts(h, 2));
        const float turns = (hashInts(h, 3) & 1) != 0 ? 1.0f : -1.0f;
        const float angle = hashUnit(hashInts(h, 4)) * kTau + kTau * turns * t;
        at(i, j) = {jx + layer.orbit * std::cos(angle), jy + layer.orbit * std::sin(angle)};
      }
    }
  }
  int cells() const { return n_; }
  // i and j in -1..cells.
  const Point& at(int i, int j) const { return seeds_[static_cast<size_t>(j + 1) * stride_ + (i + 1)]; }

 private:
  Point& at(int i, int j) { return seeds_[static_cast<size_t>(j + 1) * stride_ + (i + 1)]; }
  int n_, stride_;
  std::vector<Point> seeds_;
};

// Distance (in cells) from q, inside the tile (0..cells), to the nearest
// Voronoi edge of the wrapped layer.
float edgeDistance(const SeedGrid& grid, float qx, float qy) {
  const int cx = std::min(static_cast<int>(qx), grid.cells() - 1);
  const int cy = std::min(static_cast<int>(qy), grid.cells() - 1);
  Point candidates[9];
  int best = 0;
  float bestD2 = 1e9f;
  for (int k = 0; k < 9; ++k) {
    const int gx = cx + k % 3 - 1, gy = cy + k / 3 - 1;
    const Point& s = grid.at(gx, gy);
    candidates[k] = {static_cast<float>(gx) + s.x - qx, static_cast<float>(gy) + s.y - qy};
    const float d2 = candidates[k].x * candidates[k].x + candidates[k].y * candidates[k].y;
    if (d2 < bestD2) {
      bestD2 = d2;
      best = k;
    }
  }
  // Distance to each bisector between the nearest seed and another one,
  // combined by a soft minimum: where edges meet, the light pools and the
  // corners round off, as in real caustics.
  constexpr float kSharpness = 18.0f;
  float sum = 0.0f;
  const Point a = candidates[best];
  for (int k = 0; k < 9; ++k) {
    if (k == best) continue;
    const Point b = candidates[k];
    const float mx = (a.x + b.x) * 0.5f, my = (a.y + b.y) * 0.5f;
    const float nx = b.x - a.x, ny = b.y - a.y;
    const float len = std::sqrt(nx * nx + ny * ny);
    if (len < 1e-6f) continue;
    const float d = (mx * nx + my * ny) / len;
    if (d < 0.6f) sum += std::exp(-kSharpness * d);  // farther edges add nothing visible
  }
  return -std::log(std::max(sum, 1e-12f)) / kSharpness;
}

// Light level to colour: deep blue when faint, rising to a pale cyan. The
// game adds the frames at a tenth of their strength, where white lines would
// fade to a neutral grey; keeping red low keeps even the hottest lines cyan.
class Palette {
 public:
  static constexpr float kMax = 2.5f;
  Palette() {
    for (int i = 0; i < kSteps; ++i) {
      const float level = kMax * static_cast<float>(i) / (kSteps - 1);
      rgb_[i][0] = toByte(std::min(0.5f, 0.3f * std::pow(level, 3.0f)));
      rgb_[i][1] = toByte(std::min(0.9f, 0.85f * std::pow(level, 1.5f)));
      rgb_[i][2] = toByte(std::pow(level, 0.85f));
    }
  }
  const uint8_t* colour(float level) const {
    const int i = static_cast<int>(std::clamp(level / kMax, 0.0f, 1.0f) * (kSteps - 1) + 0.5f);
    return rgb_[i];
  }

 private:
  static constexpr int kSteps = 2048;
  uint8_t rgb_[kSteps][3];
};

float lineLight(float distance, float width) {
  const float f = std::clamp(1.0f - distance / width, 0.0f, 1.4f);
  return f * f * f;
}

}  // namespace

Bytes waterFrameJpeg(int frame) {
  const float t = static_cast<float>(frame) / kWaterFrames;
  const std::vector<float> warpX = warpField(warpWaves(101), t);
  const std::vector<float> warpY = warpField(warpWaves(202), t);
  const std::vector<float> glow = warpField(warpWaves(303), t);
  const SeedGrid grids[] = {SeedGrid(kLayers[0], t), SeedGrid(kLayers[1], t)};

  const Palette palette;
  std::vector<uint8_t> rgb(static_cast<size_t>(kSize) * kSize * 3);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const size_t i = static_cast<size_t>(y) * kSize + x;
      // Warped position, wrapped back into the tile.
      float u = (static_cast<float>(x) + 0.5f) / kSize + warpX[i];
      float v = (static_cast<float>(y) + 0.5f) / kSize + warpY[i];
      u -= std::floor(u);
      v -= std::floor(v);
      float light[kLayers.size()];
      for (size_t l = 0; l < kLayers.size(); ++l) {
        const Layer& layer = kLayers[l];
        const float n = static_cast<float>(layer.cells);
        light[l] = lineLight(edgeDistance(grids[l], u * n, v * n), layer.lineWidth);
      }
      // Crossings of the two networks flare up; a slow wave varies brightness.
      const float sum = kLayers[0].weight * light[0] + kLayers[1].weight * light[1] + 0.7f * light[0] * light[1];
      const float level = sum * (0.75f + 7.0f * glow[i]);
      const uint8_t* c = palette.colour(level);
      std::copy(c, c + 3, &rgb[i * 3]);
    }
  }
  return encodeJpeg(kSize, kSize, rgb, 86);
}

}  // namespace gen
