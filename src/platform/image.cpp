// Images and their decoding from PNG or JPEG bytes.
#include "platform/image.hpp"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "platform/backend.hpp"

namespace pf {
namespace {

bool isPng(const uint8_t* d, size_t n) { return n >= 8 && png_sig_cmp(d, 0, 8) == 0; }
bool isJpeg(const uint8_t* d, size_t n) { return n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF; }

struct PngReader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void pngRead(png_structp png, png_bytep out, png_size_t len) {
  auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
  if (r->pos + len > r->size) png_error(png, "truncated PNG");
  std::memcpy(out, r->data + r->pos, len);
  r->pos += len;
}

ImagePtr decodePng(const uint8_t* data, size_t size, int flags) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  ImagePtr image;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  PngReader reader{data, size, 0};
  png_set_read_fn(png, &reader, pngRead);
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info);
  const png_uint_32 h = png_get_image_height(png, info);
  if (w == 0 || h == 0 || w > 16384 || h > 16384) png_error(png, "bad PNG size");
  // Expand everything to 8-bit RGBA.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  image = std::make_unique<Image>(static_cast<int>(w), static_cast<int>(h), 1, flags);
  auto& px = image->pixels(0);
  rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(px.data() + static_cast<size_t>(y) * w);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return image;
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void jpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }
void jpegSilence(j_common_ptr) {}

ImagePtr decodeJpeg(const uint8_t* data, size_t size, int flags) {
  jpeg_decompress_struct cinfo{};
  JpegError err{};
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = jpegFail;
  err.mgr.output_message = jpegSilence;
  // Declared before setjmp so that longjmp never skips its construction.
  ImagePtr image;
  std::vector<uint8_t> row;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return nullptr;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const int w = static_cast<int>(cinfo.output_width);
  const int h = static_cast<int>(cinfo.output_height);
  image = std::make_unique<Image>(w, h, 1, flags);
  auto& px = image->pixels(0);
  row.resize(static_cast<size_t>(w) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW rp = row.data();
    jpeg_read_scanlines(&cinfo, &rp, 1);
    for (int x = 0; x < w; ++x) {
      const uint8_t* s = row.data() + static_cast<size_t>(x) * 3;
      px[static_cast<size_t>(y) * w + x] = packRgba(s[0], s[1], s[2], 255);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return image;
}

}  // namespace

Image::Image(int width, int height, int frames, int flags)
    : width_(width), height_(height), flags_(normaliseImageFlags(flags)) {
  if (frames < 1) frames = 1;
  pixels_.assign(static_cast<size_t>(frames), std::vector<uint32_t>(static_cast<size_t>(width) * height, 0));
}

Image::~Image() {
  if (DisplayBackend* d = displayBackend()) d->forgetImage(*this);
}

void applyMask(Image& image, int frame, MaskColour mask) {
  const uint32_t key =
      packRgba(static_cast<uint8_t>(mask.r), static_cast<uint8_t>(mask.g), static_cast<uint8_t>(mask.b), 0);
  for (uint32_t& p : image.pixels(frame)) {
    if ((p & 0x00FFFFFFu) == key) p = key;
  }
}

namespace {

ImagePtr decodePixels(const uint8_t* data, size_t size, int flags, MaskColour mask) {
  ImagePtr image;
  if (isPng(data, size)) {
    image = decodePng(data, size, flags);
  } else if (isJpeg(data, size)) {
    image = decodeJpeg(data, size, flags);
  }
  if (image && (flags & kImageMasked) != 0) applyMask(*image, 0, mask);
  return image;
}

}  // namespace

void Image::keepSource(const uint8_t* data, size_t size, MaskColour mask, bool lasting) {
  if (lasting) {
    std::vector<uint8_t>().swap(sourceCopy_);
    sourceData_ = data;
  } else {
    sourceCopy_.assign(data, data + size);
    sourceData_ = sourceCopy_.data();
  }
  sourceSize_ = size;
  sourceMask_ = mask;
}

void Image::dropSource() {
  sourceData_ = nullptr;
  sourceSize_ = 0;
  std::vector<uint8_t>().swap(sourceCopy_);
}

void Image::releasePixels() const {
  if (sourceData_ == nullptr || released_) return;
  for (std::vector<uint32_t>& frame : pixels_) std::vector<uint32_t>().swap(frame);
  released_ = true;
}

void Image::restorePixels() const {
  if (!released_) return;
  released_ = false;
  ImagePtr fresh = decodePixels(sourceData_, sourceSize_, flags_, sourceMask_);
  // The same bytes decoded a moment ago; should they fail now, the image
  // shows blank rather than shrinking.
  if (fresh && fresh->width_ == width_ && fresh->height_ == height_ && fresh->pixels_.size() == pixels_.size()) {
    pixels_.swap(fresh->pixels_);
  } else {
    for (std::vector<uint32_t>& frame : pixels_) frame.assign(static_cast<size_t>(width_) * height_, 0);
  }
}

ImagePtr decodeImage(const uint8_t* data, size_t size, int flags, MaskColour mask, bool lasting) {
  flags = normaliseImageFlags(flags);
  ImagePtr image = decodePixels(data, size, flags, mask);
  if (image && (flags & kImageDynamic) == 0) image->keepSource(data, size, mask, lasting);
  return image;
}

}  // namespace pf
