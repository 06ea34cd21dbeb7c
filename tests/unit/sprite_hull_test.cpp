#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/image.hpp"
#include "platform/sdl/sprite_hull.hpp"

namespace {

using pf::SpriteHull;

constexpr int kSize = 64;

// A round glow like the game's: opaque-ish in the middle, fading to nothing
// at the inscribed circle, the corners fully transparent.
std::vector<uint32_t> glow() {
  std::vector<uint32_t> pixels(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float dx = (x + 0.5f - 32) / 32, dy = (y + 0.5f - 32) / 32;
      const float body = std::pow(std::max(0.0f, 1.0f - dx * dx - dy * dy), 2.2f);
      pixels[y * kSize + x] = pf::packRgba(255, 255, 255, static_cast<uint8_t>(body * 0.55f * 255 + 0.5f));
    }
  }
  return pixels;
}

bool inside(const float* s, const float* t, int n, float ps, float pt) {
  float sign = 0;
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    const float cross = (s[j] - s[i]) * (pt - t[i]) - (t[j] - t[i]) * (ps - s[i]);
    if (cross * sign < 0) return false;
    if (cross != 0) sign = cross;
  }
  return true;
}

float area(const float* s, const float* t, int n) {
  float twice = 0;
  for (int i = 0; i < n; ++i) twice += s[i] * t[(i + 1) % n] - s[(i + 1) % n] * t[i];
  return std::fabs(twice) / 2;
}

// Every sample point whose bilinear footprint holds a texel that can give a
// non-zero alpha byte with this vertex alpha lies in the polygon.
void expectCoversEveryVisibleSample(const std::vector<uint32_t>& pixels, const SpriteHull& hull, int paintAlpha,
                                    float s0, float t0, float s1, float t1) {
  float s[SpriteHull::kMaxCorners], t[SpriteHull::kMaxCorners];
  const int n = hull.clip(paintAlpha, s0, t0, s1, t1, s, t);
  for (float ps = s0; ps <= s1; ps += 0.25f) {
    for (float pt = t0; pt <= t1; pt += 0.25f) {
      int strongest = 0;
      for (int y = static_cast<int>(std::floor(pt - 0.5f)); y <= static_cast<int>(std::floor(pt - 0.5f)) + 1; ++y) {
        for (int x = static_cast<int>(std::floor(ps - 0.5f)); x <= static_cast<int>(std::floor(ps - 0.5f)) + 1; ++x) {
          const int cx = std::clamp(x, 0, kSize - 1), cy = std::clamp(y, 0, kSize - 1);
          strongest = std::max(strongest, static_cast<int>(pixels[cy * kSize + cx] >> 24));
        }
      }
      if (strongest * paintAlpha < 128) continue;
      ASSERT_GT(n, 0) << "paint alpha " << paintAlpha;
      ASSERT_TRUE(inside(s, t, n, ps, pt)) << "sample " << ps << "," << pt << " paint alpha " << paintAlpha;
    }
  }
}

TEST(SpriteHull, CoversEveryTexelThatCanShowAndCutsTheTransparentCorners) {
  const std::vector<uint32_t> pixels = glow();
  SpriteHull hull;
  hull.build(pixels.data(), kSize, kSize);
  for (int paintAlpha : {1, 9, 38, 128, 255}) {
    expectCoversEveryVisibleSample(pixels, hull, paintAlpha, 0, 0, kSize, kSize);
  }
  float s[SpriteHull::kMaxCorners], t[SpriteHull::kMaxCorners];
  // At full alpha only the corners go; a faint halo fades out well inside.
  const int full = hull.clip(255, 0, 0, kSize, kSize, s, t);
  EXPECT_EQ(full, 8);
  EXPECT_LT(area(s, t, full), 0.9f * kSize * kSize);
  const int faint = hull.clip(38, 0, 0, kSize, kSize, s, t);
  EXPECT_LT(area(s, t, faint), 0.75f * kSize * kSize);
}

TEST(SpriteHull, StaysInsideTheSourceRectangle) {
  const std::vector<uint32_t> pixels = glow();
  SpriteHull hull;
  hull.build(pixels.data(), kSize, kSize);
  expectCoversEveryVisibleSample(pixels, hull, 255, 10, 20, 40, 30);
  float s[SpriteHull::kMaxCorners], t[SpriteHull::kMaxCorners];
  const int n = hull.clip(255, 10, 20, 40, 30, s, t);
  ASSERT_GE(n, 3);
  for (int i = 0; i < n; ++i) {
    EXPECT_TRUE(s[i] >= 10 && s[i] <= 40 && t[i] >= 20 && t[i] <= 30) << s[i] << "," << t[i];
  }
}

TEST(SpriteHull, NothingShowsWithoutAlpha) {
  const std::vector<uint32_t> clear(kSize * kSize, pf::packRgba(255, 255, 255, 0));
  SpriteHull hull;
  hull.build(clear.data(), kSize, kSize);
  float s[SpriteHull::kMaxCorners], t[SpriteHull::kMaxCorners];
  EXPECT_EQ(hull.clip(255, 0, 0, kSize, kSize, s, t), 0);
  const std::vector<uint32_t> pixels = glow();
  hull.build(pixels.data(), kSize, kSize);
  EXPECT_EQ(hull.clip(0, 0, 0, kSize, kSize, s, t), 0);
  // The glow's strongest texel (140) still shows at the faintest alpha.
  EXPECT_GT(hull.clip(1, 0, 0, kSize, kSize, s, t), 0);
}

}  // namespace
