#pragma once
// The heaviest scenes of the game, played as real frames (update, drawing,
// present and swap through the real renderer) without the 60 Hz pacing.
#include <string>
#include <vector>

namespace pf {
class GlRenderer;
}

struct SceneTiming {
  std::string name;
  double framesPerSecond = 0;
  double worstFrameMs = 0;
  double drawCallsPerFrame = 0;
  double cpuMsPerFrame = 0;  // processor time of all threads
};

// Plays and times every scene; the display must be open and the game's
// assets loaded.
std::vector<SceneTiming> timeScenes(pf::GlRenderer& renderer);
