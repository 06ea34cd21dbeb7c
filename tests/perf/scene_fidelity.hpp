#pragma once
// How far each lowered render quality is from full quality: the same frames
// of a scene drawn at every level and compared pixel by pixel.
#include <string>
#include <vector>

namespace pf {
class GlRenderer;
}

struct QualityDifference {
  int level = 0;
  double psnrDb = 0;  // over the red, green and blue of every pixel
  int maxError = 0;   // the largest difference of one channel, 0 to 255
};

// Every lowered level against full quality, for frames of the named scene
// (the display must be open). With a folder, the pictures are written there
// as <scene>_q<level>_<n>.png, to be looked at side by side.
std::vector<QualityDifference> compareQualities(pf::GlRenderer& renderer, const std::string& scene,
                                                const std::string& shotsDir);
