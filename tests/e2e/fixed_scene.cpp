// ovelune-fixed-scene: draws one fixed picture through the real SDL/OpenGL
// backend and saves the off-screen buffer as a PNG, so that single pixels can
// be checked against what the drawing state asks for.
//
//   ovelune-fixed-scene --out FILE.png
//
// On a (10,10,30) background, each element at integer positions so that the
// glow sprite's texels land exactly on pixel centres:
//   - a solid blue square with a red glow at alpha 0.5 over it (alpha blend)
//   - a red, a green and a blue glow overlapping, additive (light blend)
//   - a magenta/yellow bar turned 45 degrees about its middle (mid handle)
//   - a red/green image mirrored with scale (-1, 1), and beside it unmirrored
//   - a cyan line six pixels wide
//   - white text in the game font
// Prints the glow sprite's alpha at the texels under the checked pixels
// ("glow-alpha I J A") and the text's box ("text X Y W H") for the checks.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/asset_loader.hpp"
#include "driver_options.hpp"
#include "driver_window.hpp"
#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "png_file.hpp"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Texels of the glow sprite that lie under the pixels the test checks.
constexpr int kGlowTexels[][2] = {{32, 32}, {8, 32}, {20, 11}, {44, 39}, {20, 39}, {32, 18}};

// An image of two halves side by side, for telling its ends apart.
pf::ImagePtr twoHalves(int w, int h, uint32_t left, uint32_t right) {
  pf::ImagePtr image = pf::createImage(w, h, 1, 0);
  std::vector<uint32_t>& px = image->pixels(0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) px[static_cast<size_t>(y * w + x)] = x < w / 2 ? left : right;
  }
  image->markDirty();
  pf::midHandleImage(*image);
  return image;
}

void glow(const pf::Image& blob, int blend, int r, int g, int b, float alpha, float x, float y) {
  pf::setBlend(blend);
  pf::setColour(r, g, b);
  pf::setAlpha(alpha);
  pf::drawImage(blob, x, y, pf::Origin{0, 0});  // placed by its top-left corner
}

void drawScene(const pf::Image& blob, const pf::Image& bar, const pf::Image& halves) {
  pf::setClearColour(10, 10, 30);
  pf::clear();

  // Alpha blending: the red glow's centre pixel (90,90) covers half the blue.
  pf::setBlend(pf::kBlendAlpha);
  pf::setColour(0, 0, 255);
  pf::fillRect(40, 40, 100, 100);
  glow(blob, pf::kBlendAlpha, 255, 0, 0, 0.5f, 58, 58);

  // Additive blending: centres (232,72), (256,72) and (244,93).
  glow(blob, pf::kBlendLight, 255, 0, 0, 1.0f, 200, 40);
  glow(blob, pf::kBlendLight, 0, 255, 0, 1.0f, 224, 40);
  glow(blob, pf::kBlendLight, 0, 0, 255, 1.0f, 212, 61);

  pf::setBlend(pf::kBlendAlpha);
  pf::setColour(255, 255, 255);
  pf::setAlpha(1.0f);

  // A 100x16 bar, magenta left half and yellow right half, turned 45 degrees
  // about its middle at (400,200): a positive angle turns clockwise on screen.
  pf::setRotation(45.0f);
  pf::drawImage(bar, 400, 200);
  pf::setRotation(0.0f);

  // An 80x40 image, red left half and green right half, mid handled: mirrored
  // about x = 640 (green now on the left), and as it is about x = 740.
  pf::setScale(-1.0f, 1.0f);
  pf::drawImage(halves, 640, 120);
  pf::setScale(1.0f, 1.0f);
  pf::drawImage(halves, 740, 120);

  // A line six pixels wide along row 330.
  pf::setColour(0, 255, 255);
  pf::setLineWidth(6.0f);
  pf::drawLine(60, 330, 740, 330);
  pf::setLineWidth(1.0f);

  pf::setColour(255, 255, 255);
  const std::string text = "Fixed Scene 0123";
  pf::drawText(text, 300, 420);
  std::printf("text %d %d %d %d\n", 300, 420, pf::textWidth(text), pf::textHeight(text));
}

}  // namespace

int main(int argc, char** argv) {
  const DriverOptions options(argc, argv, {"--out"}, "usage: ovelune-fixed-scene --out FILE.png\n");
  const std::string out = options.text("--out");
  if (!options.ok() || out.empty()) return options.refuse();

  settings = Settings{};
  if (!openDriverWindow()) return 1;
  int status = 0;
  if (const AssetFailure failed = loadFontAndImages()) {
    std::fprintf(stderr, "%s\n", failed->c_str());
    status = 1;
  } else {
    const pf::Image& blob = assets.blobImage();
    for (const auto& t : kGlowTexels) {
      const uint32_t p = blob.pixels(0)[static_cast<size_t>(t[1] * blob.width() + t[0])];
      std::printf("glow-alpha %d %d %u\n", t[0], t[1], p >> 24);
    }
    // Kept alive until the picture is grabbed.
    const pf::ImagePtr bar = twoHalves(100, 16, pf::packRgba(255, 0, 255, 255), pf::packRgba(255, 255, 0, 255));
    const pf::ImagePtr halves = twoHalves(80, 40, pf::packRgba(255, 0, 0, 255), pf::packRgba(0, 255, 0, 255));
    drawScene(blob, *bar, *halves);
    pf::ImagePtr shot = pf::createImage(kWidth, kHeight, 1, pf::kImageDynamic);
    pf::grabImage(*shot, 0, 0);
    if (!writePng(out, *shot)) {
      std::fprintf(stderr, "cannot write %s\n", out.c_str());
      status = 1;
    }
    pf::flip();
  }
  pf::closeDisplay();
  pf::shutdownSdlBackends();
  return status;
}
