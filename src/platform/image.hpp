#pragma once
// A drawable image: one or more frames of equal size, RGBA pixels kept on the
// CPU so that grabbing, masking and re-creating the display never lose them.
// An image decoded from a file keeps the file instead once the renderer holds
// its pixels, and decodes them again when they are next read.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pf {

// Image load flags.
enum ImageFlags : int {
  kImageMasked = 1,     // texels of the mask colour become transparent
  kImageFiltered = 2,   // bilinear sampling
  kImageMipmapped = 4,  // mipmapped sampling when drawn smaller
  kImageDynamic = 8,    // pixels may be grabbed or written later
};

// -1 is the loader's shorthand for "masked and filtered".
constexpr int normaliseImageFlags(int flags) { return flags == -1 ? (kImageMasked | kImageFiltered) : flags; }

struct MaskColour {
  int r = 0, g = 0, b = 0;
};

class Image {
 public:
  Image(int width, int height, int frames, int flags);
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  int frames() const { return static_cast<int>(pixels_.size()); }
  int flags() const { return flags_; }
  float handleX() const { return handleX_; }
  float handleY() const { return handleY_; }
  void setHandle(float x, float y) {
    handleX_ = x;
    handleY_ = y;
  }

  // Pixels of a frame as 0xAABBGGRR words (RGBA bytes in memory order).
  // Pixels handed out for writing no longer match the file, so the image
  // keeps them from then on.
  std::vector<uint32_t>& pixels(int frame) {
    restorePixels();
    dropSource();
    return pixels_[static_cast<size_t>(frame)];
  }
  const std::vector<uint32_t>& pixels(int frame) const {
    restorePixels();
    return pixels_[static_cast<size_t>(frame)];
  }

  // Keeps the encoded file the pixels were decoded from (with the mask
  // colour applied to them), so that they can be released. `lasting` bytes
  // (an embedded file's) are referred to; others are copied.
  void keepSource(const uint8_t* data, size_t size, MaskColour mask, bool lasting);
  // Frees the pixels of an image that can decode them again, once the
  // renderer has its own copy; the next read decodes them.
  void releasePixels() const;

  // Called after pixels change so that the renderer uploads them again.
  void markDirty() { ++version_; }
  uint64_t version() const { return version_; }

 private:
  int width_;
  int height_;
  int flags_;
  float handleX_ = 0;
  float handleY_ = 0;
  uint64_t version_ = 1;
  // A cache of the source file's pixels where there is a source.
  mutable std::vector<std::vector<uint32_t>> pixels_;
  mutable bool released_ = false;
  const uint8_t* sourceData_ = nullptr;
  size_t sourceSize_ = 0;
  std::vector<uint8_t> sourceCopy_;
  MaskColour sourceMask_;

  void restorePixels() const;
  void dropSource();
};

using ImagePtr = std::unique_ptr<Image>;

// Decodes PNG or JPEG bytes (the format is sniffed from the content, never the
// name). Returns null when the bytes are neither or are damaged. An image
// that is not kImageDynamic keeps the bytes (keepSource); `lasting` bytes
// outlive every image.
ImagePtr decodeImage(const uint8_t* data, size_t size, int flags, MaskColour mask, bool lasting = false);

// Makes every texel of exactly the mask colour fully transparent.
void applyMask(Image& image, int frame, MaskColour mask);

inline uint32_t packRgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16) |
         (static_cast<uint32_t>(a) << 24);
}

}  // namespace pf
