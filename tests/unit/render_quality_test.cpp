// The parts of lowered render quality that need no GL: how soft an image
// is, and the region a soft layer holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/image.hpp"
#include "platform/sdl/held_region.hpp"
#include "platform/sdl/sprite_softness.hpp"

namespace {

using pf::HeldRegion;
using pf::SpriteSoftness;

std::vector<uint32_t> glow(int size) {
  std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float dx = (x + 0.5f) / size * 2 - 1, dy = (y + 0.5f) / size * 2 - 1;
      const float a = std::pow(std::max(0.0f, 1 - dx * dx - dy * dy), 2.2f);
      pixels[static_cast<size_t>(y * size + x)] = pf::packRgba(255, 255, 255, static_cast<uint8_t>(a * 255 + 0.5f));
    }
  }
  return pixels;
}

TEST(SpriteSoftness, AGlowLosesLittleWhenReducedAndSharpEdgesLoseMuch) {
  SpriteSoftness soft;
  soft.build(glow(64).data(), 64, 64);
  EXPECT_LT(soft.lossAt(2), 0.02f);
  EXPECT_LT(soft.lossAt(1.5f), 0.02f);  // the measured factor at or above it
  EXPECT_LT(soft.lossAt(2), soft.lossAt(4));
  EXPECT_LT(soft.lossAt(4), soft.lossAt(8));
  EXPECT_EQ(soft.lossAt(9), 1.0f);

  // Stripes a texel wide, as the strokes of text: the reduction loses them.
  std::vector<uint32_t> stripes(64 * 64);
  for (size_t i = 0; i < stripes.size(); ++i) stripes[i] = pf::packRgba(255, 255, 255, (i % 2) != 0 ? 255 : 0);
  SpriteSoftness sharp;
  sharp.build(stripes.data(), 64, 64);
  EXPECT_GT(sharp.lossAt(2), 0.4f);

  // A large image is measured on its middle.
  SpriteSoftness large;
  large.build(glow(512).data(), 512, 512);
  EXPECT_LT(large.lossAt(8), soft.lossAt(8));
}

TEST(HeldRegion, KeepsAFewDisjointRectanglesOfWholeLayerPixels) {
  HeldRegion held;
  held.reset(2, 800, 600);
  EXPECT_TRUE(held.empty());
  held.add(101.5f, 200, 120, 210);
  ASSERT_EQ(held.count(), 1);
  // Grown to whole layer pixels and one more for the filter.
  EXPECT_EQ(held.rect(0).x0, 98);
  EXPECT_EQ(held.rect(0).x1, 122);
  EXPECT_TRUE(held.meets(121, 205, 130, 206));
  EXPECT_FALSE(held.meets(122, 205, 130, 206));

  held.add(10, 580, 30, 700);  // cut to the screen
  EXPECT_EQ(held.count(), 2);
  EXPECT_EQ(held.rect(1).y1, 600);
  held.add(110, 150, 300, 205);  // overlaps the first: they become one
  ASSERT_EQ(held.count(), 2);
  for (const float x : {400.0f, 500.0f, 600.0f, 700.0f}) held.add(x, 10, x + 10, 20);
  EXPECT_EQ(held.count(), HeldRegion::kMostRects);
  for (int i = 0; i < held.count(); ++i) {
    for (int j = i + 1; j < held.count(); ++j) EXPECT_FALSE(held.rect(i).overlaps(held.rect(j)));
  }
  EXPECT_TRUE(held.meets(705, 15, 706, 16));
  EXPECT_EQ(held.hull().x0, 8);
  EXPECT_EQ(held.hull().y1, 600);
  held.clear();
  EXPECT_FALSE(held.meets(0, 0, 800, 600));
}

}  // namespace
