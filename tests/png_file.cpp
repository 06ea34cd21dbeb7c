#include "png_file.hpp"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

// Encodes the image as 8-bit RGB; a libpng error returns here through setjmp,
// so nothing that needs a destructor lives in this frame.
bool encodeRows(png_structp png, png_infop info, FILE* out, const pf::Image& image, std::vector<png_byte>& row) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  const int w = image.width(), h = image.height();
  png_init_io(png, out);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const std::vector<uint32_t>& pixels = image.pixels(0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * w + x];  // 0xAABBGGRR
      row[static_cast<size_t>(x) * 3 + 0] = static_cast<png_byte>(p & 0xFF);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>((p >> 8) & 0xFF);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>((p >> 16) & 0xFF);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool writePng(const std::string& path, const pf::Image& image) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  std::vector<png_byte> row(static_cast<size_t>(image.width()) * 3);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  const bool ok = info != nullptr && encodeRows(png, info, out, image, row);
  png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  return std::fclose(out) == 0 && ok;
}
