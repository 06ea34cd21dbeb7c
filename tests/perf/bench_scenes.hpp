#pragma once
// The heaviest scenes of the game, played as real frames (update, drawing,
// present and swap through the real renderer) without the 60 Hz pacing.
#include <functional>
#include <memory>
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
  double cpuMedianMs = 0;    // the median frame's: steadier on a shared machine
};

struct SceneOptions {
  std::string only;       // one scene by name (without `scene_`); empty: all
  int settleFrames = 90;  // drawn untimed first
  int timedFrames = 180;
  std::function<void()> atTimedStart;  // called right before the first timed frame
};

// The names of the scenes, in the order they are played.
std::vector<std::string> sceneNames();

// A scene being played, seeded the same every time: frame() plays the next
// frame as the game does (update, drawing, and the flip that keeps time).
class SceneRun {
 public:
  virtual ~SceneRun() = default;
  virtual void frame() = 0;
};
// Sets the named scene up so that `drawnBefore` frames are to be played
// before its first timed frame; a game scene plays the frames before them
// undrawn. An unknown name is the title menu.
std::unique_ptr<SceneRun> startScene(const std::string& name, int drawnBefore);
// Plays and times the scenes; the display must be open and the game's
// assets loaded.
std::vector<SceneTiming> timeScenes(pf::GlRenderer& renderer, const SceneOptions& options = {});
// Processor time of the whole process so far, in seconds.
double processSeconds();
