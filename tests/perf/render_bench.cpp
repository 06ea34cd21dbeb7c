// ovelune-render-bench: the real SDL/OpenGL renderer measured on this
// machine. Prints `name: value` lines:
//
//   batched_sprites_per_s, single_sprites_per_s
//       10,000 small glow sprites (scale 0.1) submitted and issued to GL, with
//       the batching renderer and with one draw call per sprite; CPU time of
//       the submission only (the rasteriser's work is waited for untimed).
//   batched_draw_calls, single_draw_calls
//       the draw calls one such frame issues either way.
//   scene_<name>_fps, scene_<name>_worst_frame_ms, scene_<name>_draw_calls
//       real frames of the heaviest scenes (bench_scenes.cpp) updated, drawn,
//       presented, swapped and finished without the 60 Hz pacing: the
//       headroom the real game has on this machine, the slowest single frame
//       and the draw calls each frame issues; scene_<name>_cpu_ms is the
//       processor time a frame takes over all threads (rasteriser included),
//       the figure to compare when the machine is shared.
//   fill_fps, fill_limit_fps
//       a fill-heavy frame (two full-screen water layers and 500 glow sprites
//       of 64 to 96 pixels) drawn and finished, in frames per second; and the
//       frames per second the rasteriser's own fill rate, measured with
//       full-screen blended quads, allows for the same pixel area.
//
// Needs a display (Xvfb will do) or SDL_VIDEODRIVER=offscreen.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/asset_loader.hpp"
#include "bench_scenes.hpp"
#include "driver_window.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "platform/backend.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "platform/sdl/sdl_display.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSmallSprites = 10000;
constexpr int kFillSprites = 500;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct SpriteRun {
  double spritesPerSecond = 0;
  uint64_t drawCallsPerFrame = 0;
};

// Repeats the 10,000-sprite frame for about a second of submission time.
SpriteRun submitSmallSprites(pf::GlRenderer& renderer, const pf::Image& blob, bool batched) {
  renderer.setBatching(batched);
  std::vector<float> xs(kSmallSprites), ys(kSmallSprites);
  for (int i = 0; i < kSmallSprites; ++i) {
    xs[static_cast<size_t>(i)] = static_cast<float>(Rnd(0, kWidth));
    ys[static_cast<size_t>(i)] = static_cast<float>(Rnd(0, kHeight));
  }
  SpriteRun run;
  double submitting = 0;
  int frames = 0;
  while (submitting < 1.0 || frames < 3) {
    pf::clear();
    renderer.finish();
    const uint64_t callsBefore = renderer.drawCalls();
    const auto start = Clock::now();
    pf::setBlend(pf::kBlendLight);
    pf::setScale(0.1f, 0.1f);
    pf::setAlpha(0.5f);
    for (int i = 0; i < kSmallSprites; ++i) {
      pf::setColour(100 + i % 155, 200, 255);
      pf::drawImage(blob, xs[static_cast<size_t>(i)], ys[static_cast<size_t>(i)]);
    }
    renderer.flush();  // the last batch goes to GL too
    submitting += secondsSince(start);
    renderer.finish();  // the rasteriser's work, not counted
    run.drawCallsPerFrame = renderer.drawCalls() - callsBefore;
    ++frames;
  }
  run.spritesPerSecond = kSmallSprites * frames / submitting;
  renderer.setBatching(true);
  return run;
}

struct FillSprite {
  float x, y, scale;
  int r, g, b;
};

// The fill-heavy frame; returns the pixels it covers.
double drawFillFrame(const pf::Image& water, const pf::Image& blob, const std::vector<FillSprite>& sprites) {
  pf::clear();
  const float sx = static_cast<float>(kWidth) / static_cast<float>(water.width());
  const float sy = static_cast<float>(kHeight) / static_cast<float>(water.height());
  pf::setScale(sx, sy);
  pf::setBlend(pf::kBlendAlpha);
  pf::setAlpha(0.6f);
  pf::drawImage(water, kWidth / 2.0f, kHeight / 2.0f);
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.4f);
  pf::drawImage(water, kWidth / 2.0f, kHeight / 2.0f);
  double area = 2.0 * kWidth * kHeight;
  pf::setAlpha(0.5f);
  for (const FillSprite& s : sprites) {
    pf::setScale(s.scale, s.scale);
    pf::setColour(s.r, s.g, s.b);
    pf::drawImage(blob, s.x, s.y);
    area += static_cast<double>(blob.width()) * blob.height() * s.scale * s.scale;
  }
  pf::setScale(1, 1);
  pf::setColour(255, 255, 255);
  pf::setAlpha(1);
  return area;
}

// Frames per second of the fill-heavy frame, each drawn and finished.
double fillFramesPerSecond(pf::GlRenderer& renderer, const pf::Image& water, const pf::Image& blob, double* area) {
  std::vector<FillSprite> sprites;
  for (int i = 0; i < kFillSprites; ++i) {
    const float size = static_cast<float>(Rnd(64, 96));
    sprites.push_back(FillSprite{static_cast<float>(Rnd(0, kWidth)), static_cast<float>(Rnd(0, kHeight)),
                                 size / static_cast<float>(blob.width()), Rand(50, 255), Rand(50, 255), 255});
  }
  renderer.finish();
  int frames = 0;
  const auto start = Clock::now();
  while (secondsSince(start) < 1.5 || frames < 3) {
    *area = drawFillFrame(water, blob, sprites);
    renderer.finish();
    ++frames;
  }
  return frames / secondsSince(start);
}

// The rasteriser's own rate for blended, textured pixels: full-screen quads
// of the glow sprite in a handful of draw calls.
double fillPixelsPerSecond(pf::GlRenderer& renderer, const pf::Image& blob) {
  constexpr int kLayers = 40;
  renderer.finish();
  double pixels = 0;
  const auto start = Clock::now();
  while (secondsSince(start) < 1.5 || pixels == 0) {
    pf::clear();
    pf::setBlend(pf::kBlendLight);
    pf::setAlpha(0.05f);
    pf::setScale(static_cast<float>(kWidth) / blob.width(), static_cast<float>(kHeight) / blob.height());
    for (int i = 0; i < kLayers; ++i) pf::drawImage(blob, kWidth / 2.0f, kHeight / 2.0f);
    renderer.finish();
    pixels += static_cast<double>(kLayers + 1) * kWidth * kHeight;  // the layers and the clear
  }
  pf::setScale(1, 1);
  pf::setAlpha(1);
  return pixels / secondsSince(start);
}

}  // namespace

int main() {
  settings = Settings{};
  settings.screendepth = 0;
  settings.sound = 0;
  settings.music = 0;
  if (!openDriverWindow()) return 1;
  loadGameAssets();
  pf::Image& blob = *assets.blobImage;
  pf::midHandleImage(blob);
  pf::Image& water = *assets.waterFrames[0];
  pf::midHandleImage(water);
  pf::GlRenderer& renderer = pf::sdlDisplay()->renderer();
  SeedRnd(1);

  // Textures upload on first use; one frame of each before measuring.
  drawFillFrame(water, blob, {});
  renderer.finish();

  const SpriteRun batched = submitSmallSprites(renderer, blob, true);
  const SpriteRun single = submitSmallSprites(renderer, blob, false);
  double area = 0;
  const double fillFps = fillFramesPerSecond(renderer, water, blob, &area);
  const double limitFps = fillPixelsPerSecond(renderer, blob) / area;
  const std::vector<SceneTiming> scenes = timeScenes(renderer);

  std::printf("batched_sprites_per_s: %.0f\n", batched.spritesPerSecond);
  std::printf("single_sprites_per_s: %.0f\n", single.spritesPerSecond);
  std::printf("batched_draw_calls: %llu\n", static_cast<unsigned long long>(batched.drawCallsPerFrame));
  std::printf("single_draw_calls: %llu\n", static_cast<unsigned long long>(single.drawCallsPerFrame));
  std::printf("sprite_batching_speedup: %.1f\n", batched.spritesPerSecond / single.spritesPerSecond);
  std::printf("fill_frame_mpixels: %.2f\n", area / 1e6);
  std::printf("fill_fps: %.1f\n", fillFps);
  std::printf("fill_limit_fps: %.1f\n", limitFps);
  for (const SceneTiming& t : scenes) {
    std::printf("%s_fps: %.1f\n", t.name.c_str(), t.framesPerSecond);
    std::printf("%s_worst_frame_ms: %.1f\n", t.name.c_str(), t.worstFrameMs);
    std::printf("%s_draw_calls: %.0f\n", t.name.c_str(), t.drawCallsPerFrame);
    std::printf("%s_cpu_ms: %.2f\n", t.name.c_str(), t.cpuMsPerFrame);
  }
  pf::closeDisplay();
  pf::shutdownSdlBackends();
  return 0;
}
