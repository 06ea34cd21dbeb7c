// FreeType rasterisation of a font into a glyph atlas.
#include "platform/font.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <vector>

namespace pf {
namespace {

constexpr int kFirstCode = 32;
constexpr int kAtlasWidth = 512;
constexpr int kPadding = 2;

struct RenderedGlyph {
  int code = 0;
  Glyph glyph;
  std::vector<uint8_t> coverage;
};

}  // namespace

Font::Font(ImagePtr atlas, int lineHeight, const std::array<Glyph, 256>& glyphs)
    : atlas_(std::move(atlas)), lineHeight_(lineHeight), glyphs_(glyphs) {}

const Glyph& Font::glyph(unsigned char c) const {
  const Glyph& g = glyphs_[c];
  return g.present ? g : glyphs_[static_cast<unsigned char>('?')];
}

int Font::textWidth(const std::string& text) const {
  int w = 0;
  for (unsigned char c : text) w += glyph(c).advance;
  return w;
}

FontPtr rasteriseFont(const uint8_t* data, size_t size, int pixelSize, int style) {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(lib, data, static_cast<FT_Long>(size), 0, &face) != 0) {
    FT_Done_FreeType(lib);
    return nullptr;
  }
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
  const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
  const int lineHeight = static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
  const bool smooth = (style & kFontSmoothed) != 0;
  const bool bold = (style & kFontBold) != 0 && (face->style_flags & FT_STYLE_FLAG_BOLD) == 0;
  const bool italic = (style & kFontItalic) != 0 && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;

  std::vector<RenderedGlyph> rendered;
  for (int code = kFirstCode; code < 256; ++code) {
    const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
    if (index == 0 && code != kFirstCode) continue;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | (smooth ? 0 : FT_LOAD_TARGET_MONO)) != 0) continue;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (bold) FT_Outline_Embolden(&slot->outline, pixelSize * 2);
      if (italic) {
        FT_Matrix shear{0x10000, 0x3000, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
      }
    }
    if (FT_Render_Glyph(slot, smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) continue;
    RenderedGlyph rg;
    rg.code = code;
    rg.glyph.present = true;
    rg.glyph.advance = static_cast<int>(std::lround(static_cast<double>(slot->advance.x) / 64.0)) + (bold ? 1 : 0);
    rg.glyph.offsetX = slot->bitmap_left;
    rg.glyph.offsetY = ascender - slot->bitmap_top;
    rg.glyph.width = static_cast<int>(slot->bitmap.width);
    rg.glyph.height = static_cast<int>(slot->bitmap.rows);
    rg.coverage.resize(static_cast<size_t>(rg.glyph.width) * rg.glyph.height);
    for (int y = 0; y < rg.glyph.height; ++y) {
      const uint8_t* src = slot->bitmap.buffer + static_cast<ptrdiff_t>(y) * slot->bitmap.pitch;
      for (int x = 0; x < rg.glyph.width; ++x) {
        const uint8_t v = smooth ? src[x] : (((src[x >> 3] >> (7 - (x & 7))) & 1) != 0 ? 255 : 0);
        rg.coverage[static_cast<size_t>(y) * rg.glyph.width + x] = v;
      }
    }
    rendered.push_back(std::move(rg));
  }
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  if (rendered.empty()) return nullptr;

  // Shelf packing into a fixed-width atlas.
  int penX = kPadding, penY = kPadding, shelf = 0;
  std::vector<std::pair<int, int>> places;
  for (const RenderedGlyph& rg : rendered) {
    if (penX + rg.glyph.width + kPadding > kAtlasWidth) {
      penX = kPadding;
      penY += shelf + kPadding;
      shelf = 0;
    }
    places.emplace_back(penX, penY);
    penX += rg.glyph.width + kPadding;
    shelf = std::max(shelf, rg.glyph.height);
  }
  int atlasHeight = 1;
  while (atlasHeight < penY + shelf + kPadding) atlasHeight *= 2;

  auto atlas = std::make_unique<Image>(kAtlasWidth, atlasHeight, 1, kImageFiltered | kImageMipmapped);
  auto& px = atlas->pixels(0);
  std::array<Glyph, 256> glyphs{};
  for (size_t i = 0; i < rendered.size(); ++i) {
    RenderedGlyph& rg = rendered[i];
    const auto [ax, ay] = places[i];
    for (int y = 0; y < rg.glyph.height; ++y) {
      for (int x = 0; x < rg.glyph.width; ++x) {
        const uint8_t a = rg.coverage[static_cast<size_t>(y) * rg.glyph.width + x];
        px[static_cast<size_t>(ay + y) * kAtlasWidth + ax + x] = packRgba(255, 255, 255, a);
      }
    }
    rg.glyph.u0 = static_cast<float>(ax) / kAtlasWidth;
    rg.glyph.v0 = static_cast<float>(ay) / static_cast<float>(atlasHeight);
    rg.glyph.u1 = static_cast<float>(ax + rg.glyph.width) / kAtlasWidth;
    rg.glyph.v1 = static_cast<float>(ay + rg.glyph.height) / static_cast<float>(atlasHeight);
    glyphs[static_cast<size_t>(rg.code)] = rg.glyph;
  }
  if (!glyphs[static_cast<unsigned char>('?')].present) glyphs['?'] = glyphs[kFirstCode];
  // Colour of transparent texels is white too, so filtering never darkens edges.
  for (uint32_t& p : px) p |= 0x00FFFFFFu;
  return std::make_unique<Font>(std::move(atlas), lineHeight, glyphs);
}

}  // namespace pf
