#pragma once
// A floating-point RGBA canvas in premultiplied colour. Shapes are painted
// over it as opaque layers or added as light; the export turns light on a
// transparent background into colour plus alpha, so the picture looks the same
// drawn with alpha blending over black or with additive blending.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen {

struct Colour {
  float r = 0, g = 0, b = 0;
};

inline Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour scaled(Colour c, float k) { return {c.r * k, c.g * k, c.b * k}; }

struct Premul {
  float r = 0, g = 0, b = 0, a = 0;
};

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  Premul& at(int x, int y) { return px_[static_cast<size_t>(y) * width_ + x]; }
  const Premul& at(int x, int y) const { return px_[static_cast<size_t>(y) * width_ + x]; }

  // Paints an opaque colour with the given coverage (0..1) over the pixel.
  void over(int x, int y, Colour c, float coverage);
  // Adds emitted light; it raises the alpha as far as it needs on export.
  void addLight(int x, int y, Colour c, float intensity);

  // 8-bit straight (non-premultiplied) RGBA rows, top to bottom.
  std::vector<uint8_t> toRgba8() const;
  // 8-bit RGB of the picture composed over black.
  std::vector<uint8_t> toRgb8OverBlack() const;

 private:
  int width_;
  int height_;
  std::vector<Premul> px_;
};

uint8_t toByte(float v);

}  // namespace gen
