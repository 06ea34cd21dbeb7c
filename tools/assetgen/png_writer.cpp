// PNG output through libpng, with no time stamp or other varying chunk.
#include <png.h>

#include <stdexcept>

#include "encoders.hpp"

namespace gen {
namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t len) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + len);
}

void noFlush(png_structp) {}

}  // namespace

Bytes encodePng(int width, int height, const std::vector<uint8_t>& rgba) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) throw std::runtime_error("libpng: out of memory");
  std::vector<png_const_bytep> rows(static_cast<size_t>(height));
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng: encoding failed");
  }
  png_set_write_fn(png, &out, appendBytes, noFlush);
  png_set_compression_level(png, 6);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = rgba.data() + static_cast<size_t>(y) * width * 4;
  png_write_rows(png, const_cast<png_bytepp>(rows.data()), static_cast<png_uint_32>(height));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace gen
