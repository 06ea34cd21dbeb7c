#pragma once
// A TrueType font rendered once by FreeType into a glyph atlas. Text is then
// drawn as one textured quad per glyph, like every other sprite.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/image.hpp"

namespace pf {

enum FontStyle : int { kFontBold = 1, kFontItalic = 2, kFontSmoothed = 4 };

struct Glyph {
  bool present = false;
  int advance = 0;                       // pen advance in pixels
  int offsetX = 0, offsetY = 0;          // bitmap top-left relative to the pen at the line top
  int width = 0, height = 0;             // bitmap size in pixels
  float u0 = 0, v0 = 0, u1 = 0, v1 = 0;  // atlas texture coordinates
};

class Font {
 public:
  Font(ImagePtr atlas, int lineHeight, const std::array<Glyph, 256>& glyphs);
  const Image& atlas() const { return *atlas_; }
  int lineHeight() const { return lineHeight_; }
  // Latin-1 code points; anything else draws as '?'.
  const Glyph& glyph(unsigned char c) const;
  // The sum of the glyph advances.
  int textWidth(const std::string& text) const;

 private:
  ImagePtr atlas_;
  int lineHeight_;
  std::array<Glyph, 256> glyphs_;
};

using FontPtr = std::unique_ptr<Font>;

// Rasterises the font file bytes at the given pixel size; style flags as above.
// Null when FreeType rejects the bytes.
FontPtr rasteriseFont(const uint8_t* data, size_t size, int pixelSize, int style);

}  // namespace pf
