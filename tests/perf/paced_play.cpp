#include "paced_play.hpp"

#include <chrono>

#include "bench_scenes.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "platform/sdl/sdl_display.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSettleFrames = 60;

}  // namespace

PacedPlay playPaced(const std::string& scene, double seconds) {
  pf::SdlDisplay& display = *pf::sdlDisplay();
  display.setUnpaced(false);
  display.setQualityAuto(true);
  std::unique_ptr<SceneRun> run = startScene(scene, kSettleFrames);
  for (int i = 0; i < kSettleFrames; ++i) run->frame();
  const pf::SdlDisplay::FrameStats before = display.frameStats();
  const Clock::time_point start = Clock::now();
  double elapsed = 0;
  while (elapsed < seconds) {
    run->frame();
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  }
  const pf::SdlDisplay::FrameStats& after = display.frameStats();
  PacedPlay out;
  const double shown = static_cast<double>(after.shown - before.shown);
  out.gameSpeed = static_cast<double>(after.frames - before.frames) / elapsed / 60.0;
  out.shownFramesPerSecond = shown / elapsed;
  out.fullQualityShare = shown > 0 ? static_cast<double>(after.shownAt[0] - before.shownAt[0]) / shown : 0;
  for (size_t level = 1; level < after.shownAt.size(); ++level) {
    if (after.shownAt[level] > before.shownAt[level]) out.levelsUsed.push_back(static_cast<int>(level));
  }
  return out;
}
