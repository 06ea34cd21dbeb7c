// A loaded image may free its pixels once the renderer holds them: reading
// them again gives back exactly what was loaded (mask applied), and an image
// whose pixels were written keeps them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/asset_store.hpp"
#include "platform/platform.hpp"

namespace {

TEST(ImageSource, ReleasedPixelsComeBackAsLoaded) {
  registerAssetStore();
  pf::setMaskColour(0, 0, 0);
  for (const char* name : {"_001.jpg", "blob.bmp", "rockbg.png"}) {
    const pf::ImagePtr image = pf::loadImage(std::string("incbin::images\\") + name, -1);
    ASSERT_NE(image, nullptr) << name;
    const pf::Image& loaded = *image;
    const std::vector<uint32_t> before = loaded.pixels(0);
    ASSERT_EQ(before.size(), static_cast<size_t>(loaded.width()) * loaded.height()) << name;
    loaded.releasePixels();
    EXPECT_TRUE(loaded.pixels(0) == before) << name;
    // Released twice, restored twice: still the same.
    loaded.releasePixels();
    loaded.releasePixels();
    EXPECT_TRUE(loaded.pixels(0) == before) << name;
  }
}

TEST(ImageSource, BytesThatGoAwayAreCopied) {
  registerAssetStore();
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(pf::readAsset("incbin::images\\heart.png", bytes));
  const pf::ImagePtr image = pf::decodeImage(bytes.data(), bytes.size(), 3, pf::MaskColour{});
  ASSERT_NE(image, nullptr);
  const pf::Image& loaded = *image;
  const std::vector<uint32_t> before = loaded.pixels(0);
  std::fill(bytes.begin(), bytes.end(), uint8_t{0});
  std::vector<uint8_t>().swap(bytes);
  loaded.releasePixels();
  EXPECT_TRUE(loaded.pixels(0) == before);
}

TEST(ImageSource, WrittenPixelsAreKept) {
  registerAssetStore();
  const pf::ImagePtr image = pf::loadImage("incbin::images\\heart.png", 3);
  ASSERT_NE(image, nullptr);
  image->pixels(0)[0] = pf::packRgba(1, 2, 3, 4);
  const pf::Image& edited = *image;
  edited.releasePixels();
  EXPECT_EQ(edited.pixels(0)[0], pf::packRgba(1, 2, 3, 4));
  // Grabbed or written later: never released at all.
  const pf::ImagePtr dynamic = pf::loadImage("incbin::images\\heart.png", pf::kImageDynamic);
  ASSERT_NE(dynamic, nullptr);
  const size_t texels = static_cast<size_t>(dynamic->width()) * dynamic->height();
  static_cast<const pf::Image&>(*dynamic).releasePixels();
  EXPECT_EQ(static_cast<const pf::Image&>(*dynamic).pixels(0).size(), texels);
}

}  // namespace
