#pragma once
// How much of a sprite is lost when it is drawn at a coarser resolution and
// scaled back up. The soft glow that most sprites are drawn with changes
// slowly from texel to texel, so a large copy of it drawn at half the screen
// resolution and magnified looks the same; text or a sharp picture would not.
// The loss is measured once per image, as the largest difference of the
// colour times alpha (0 to 1) between the image and the image reduced k-fold
// (box filter) and magnified back (bilinear), for k = 2, 4 and 8.
#include <array>
#include <cstdint>

namespace pf {

class SpriteSoftness {
 public:
  // Pixels as 0xAABBGGRR words, rows top-down. A larger image than
  // kWindow x kWindow texels is measured on that much of its middle: the
  // pictures drawn large (the water) look alike all over, and the whole of
  // them would take milliseconds.
  void build(const uint32_t* pixels, int width, int height);

  // The loss when texels are reduced by the given factor (texels per pixel
  // of the coarse layer); 1 (everything) beyond the largest measured factor
  // or before build().
  float lossAt(float texelsPerPixel) const;

  static constexpr int kWindow = 128;

 private:
  static constexpr int kFactors = 3;  // 2, 4, 8
  std::array<float, kFactors> loss_ = {1, 1, 1};
};

}  // namespace pf
