#include "platform/sdl/sprite_softness.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pf {
namespace {

struct Premultiplied {
  float r, g, b;
};

Premultiplied premultiplied(uint32_t p) {
  const float a = static_cast<float>(p >> 24) / (255.0f * 255.0f);
  return {static_cast<float>(p & 0xFF) * a, static_cast<float>((p >> 8) & 0xFF) * a,
          static_cast<float>((p >> 16) & 0xFF) * a};
}

// The largest channel difference between the image and its k-fold
// reduction magnified back (the reduction's edges as the image's own).
float reductionLoss(const std::vector<Premultiplied>& image, int width, int height, int k) {
  const int cw = (width + k - 1) / k, ch = (height + k - 1) / k;
  std::vector<Premultiplied> coarse(static_cast<size_t>(cw) * ch, Premultiplied{0, 0, 0});
  for (int cy = 0; cy < ch; ++cy) {
    for (int cx = 0; cx < cw; ++cx) {
      Premultiplied sum{0, 0, 0};
      int n = 0;
      for (int y = cy * k; y < std::min(height, cy * k + k); ++y) {
        for (int x = cx * k; x < std::min(width, cx * k + k); ++x) {
          const Premultiplied& p = image[static_cast<size_t>(y) * width + x];
          sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
          ++n;
        }
      }
      const float f = 1.0f / static_cast<float>(n);
      coarse[static_cast<size_t>(cy) * cw + cx] = {sum.r * f, sum.g * f, sum.b * f};
    }
  }
  auto at = [&](int x, int y) -> const Premultiplied& {
    return coarse[static_cast<size_t>(std::clamp(y, 0, ch - 1)) * cw + std::clamp(x, 0, cw - 1)];
  };
  float worst = 0;
  for (int y = 0; y < height; ++y) {
    const float fy = (static_cast<float>(y) + 0.5f) / static_cast<float>(k) - 0.5f;
    const int y0 = static_cast<int>(std::floor(fy));
    const float ty = fy - static_cast<float>(y0);
    for (int x = 0; x < width; ++x) {
      const float fx = (static_cast<float>(x) + 0.5f) / static_cast<float>(k) - 0.5f;
      const int x0 = static_cast<int>(std::floor(fx));
      const float tx = fx - static_cast<float>(x0);
      const Premultiplied &a = at(x0, y0), &b = at(x0 + 1, y0), &c = at(x0, y0 + 1), &d = at(x0 + 1, y0 + 1);
      auto lerp = [&](float pa, float pb, float pc, float pd) {
        return (pa * (1 - tx) + pb * tx) * (1 - ty) + (pc * (1 - tx) + pd * tx) * ty;
      };
      const Premultiplied& p = image[static_cast<size_t>(y) * width + x];
      worst = std::max({worst, std::fabs(lerp(a.r, b.r, c.r, d.r) - p.r), std::fabs(lerp(a.g, b.g, c.g, d.g) - p.g),
                        std::fabs(lerp(a.b, b.b, c.b, d.b) - p.b)});
    }
  }
  return worst;
}

}  // namespace

void SpriteSoftness::build(const uint32_t* pixels, int width, int height) {
  loss_.fill(1.0f);
  if (width <= 0 || height <= 0) return;
  const int w = std::min(width, kWindow), h = std::min(height, kWindow);
  const int left = (width - w) / 2, top = (height - h) / 2;
  std::vector<Premultiplied> image(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      image[static_cast<size_t>(y) * w + x] = premultiplied(pixels[static_cast<size_t>(top + y) * width + left + x]);
    }
  }
  for (int i = 0; i < kFactors; ++i) loss_[static_cast<size_t>(i)] = reductionLoss(image, w, h, 2 << i);
}

float SpriteSoftness::lossAt(float texelsPerPixel) const {
  // The measured factor at or above the one asked for.
  for (int i = 0; i < kFactors; ++i) {
    if (texelsPerPixel <= static_cast<float>(2 << i)) return loss_[static_cast<size_t>(i)];
  }
  return 1.0f;
}

}  // namespace pf
