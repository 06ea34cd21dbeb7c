#include "scene_fidelity.hpp"

#include <cmath>
#include <cstdlib>

#include "bench_scenes.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/gl_renderer.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "platform/sdl/sdl_display.hpp"
#include "png_file.hpp"

namespace {

// Drawn frames before the first picture (the trails fill in), pictures, and
// frames between them.
constexpr int kSettleFrames = 60;
constexpr int kPictures = 3;
constexpr int kFramesApart = 40;

using Picture = std::vector<uint32_t>;

std::vector<Picture> drawScene(pf::GlRenderer& renderer, const std::string& scene, int level,
                               const std::string& shotsDir) {
  renderer.setQuality(level);
  std::unique_ptr<SceneRun> run = startScene(scene, kSettleFrames);
  for (int i = 0; i < kSettleFrames; ++i) run->frame();
  pf::ImagePtr shot = pf::createImage(pf::displayWidth(), pf::displayHeight(), 1, pf::kImageDynamic);
  std::vector<Picture> pictures;
  for (int n = 0; n < kPictures; ++n) {
    for (int i = 0; i < kFramesApart; ++i) run->frame();
    pf::grabImage(*shot, 0, 0);
    pictures.push_back(shot->pixels(0));
    if (!shotsDir.empty()) {
      writePng(shotsDir + "/" + scene + "_q" + std::to_string(level) + "_" + std::to_string(n) + ".png", *shot);
    }
  }
  renderer.setQuality(0);
  return pictures;
}

QualityDifference difference(int level, const std::vector<Picture>& full, const std::vector<Picture>& lowered) {
  double squares = 0, samples = 0;
  int worst = 0;
  for (size_t p = 0; p < full.size(); ++p) {
    for (size_t i = 0; i < full[p].size(); ++i) {
      for (int shift = 0; shift < 24; shift += 8) {
        const int d = std::abs(static_cast<int>((full[p][i] >> shift) & 0xFF) -
                               static_cast<int>((lowered[p][i] >> shift) & 0xFF));
        squares += static_cast<double>(d) * d;
        worst = std::max(worst, d);
        samples += 1;
      }
    }
  }
  const double mse = squares / samples;
  return {level, mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : INFINITY, worst};
}

}  // namespace

std::vector<QualityDifference> compareQualities(pf::GlRenderer& renderer, const std::string& scene,
                                                const std::string& shotsDir) {
  // Unpaced: no frame is skipped and the quality stays as set.
  pf::sdlDisplay()->setUnpaced(true);
  const std::vector<Picture> full = drawScene(renderer, scene, 0, shotsDir);
  std::vector<QualityDifference> out;
  for (int level = 1; level < pf::GlRenderer::kQualityLevels; ++level) {
    out.push_back(difference(level, full, drawScene(renderer, scene, level, shotsDir)));
  }
  pf::sdlDisplay()->setUnpaced(false);
  return out;
}
