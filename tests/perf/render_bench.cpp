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
//   scene_<name>_q<L>_psnr_db, scene_<name>_q<L>_max_error
//       each lowered render quality L against full quality, over the same
//       frames of the scene (scene_fidelity.cpp): PSNR in dB over the red,
//       green and blue of every pixel (inf: identical), and the largest
//       difference of one channel (0 to 255).
//   scene_<name>_game_speed, scene_<name>_shown_fps, scene_<name>_quality,
//   scene_<name>_psnr_db
//       the scene played as a player has it (paced_play.cpp) for five
//       seconds: updates per wall second over 60, frames shown per second,
//       the share of them shown at full quality, and the PSNR of the lowest
//       quality shown against full quality (inf: only full quality shown).
//   fill_fps, fill_limit_fps
//       a fill-heavy frame (two full-screen water layers and 500 glow sprites
//       of 64 to 96 pixels) drawn and finished, in frames per second; and the
//       frames per second the rasteriser's own fill rate, measured with
//       full-screen blended quads, allows for the same pixel area.
//
// Probes, for finding where a scene's time goes (nothing else is measured):
//   --scene NAME     only that scene (names as in scene_<name>)
//   --frames N       timed frames per scene (180)
//   --layers K       per scene, a table of its layers (an image, or solid
//                    quads, lines or points, in one blend mode and one size
//                    class): primitives and pixels per frame, and for the K
//                    layers with the most pixels the processor time a frame
//                    saves when that layer alone is left out; plus the
//                    processor time of the present and swap.
//   --compare R      per scene, R rounds of the scene with the renderer's
//                    fill savings off and on (GlRenderer::setFillSavings),
//                    one after the other in this process; prints the median
//                    frame's processor time of each run and their ratio.
//   --quality L      the unpaced scenes drawn at render quality L
//   --fidelity DIR   only the comparison of the qualities, the pictures
//                    written to DIR
//   --paced S        only the paced play, S seconds a scene
//
// Needs a display (Xvfb will do) or SDL_VIDEODRIVER=offscreen.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/asset_loader.hpp"
#include "bench_scenes.hpp"
#include "driver_window.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "layer_probe.hpp"
#include "paced_play.hpp"
#include "platform/backend.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/sdl_backends.hpp"
#include "platform/sdl/sdl_display.hpp"
#include "scene_fidelity.hpp"

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
  pf::drawImage(water, kWidth / 2.0f, kHeight / 2.0f, pf::centreOf(water));
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.4f);
  pf::drawImage(water, kWidth / 2.0f, kHeight / 2.0f, pf::centreOf(water));
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

void printScene(const SceneTiming& t) {
  std::printf("%s_fps: %.1f\n", t.name.c_str(), t.framesPerSecond);
  std::printf("%s_worst_frame_ms: %.1f\n", t.name.c_str(), t.worstFrameMs);
  std::printf("%s_draw_calls: %.0f\n", t.name.c_str(), t.drawCallsPerFrame);
  std::printf("%s_cpu_ms: %.2f\n", t.name.c_str(), t.cpuMsPerFrame);
}

void printDb(const std::string& name, double db) {
  if (std::isinf(db)) {
    std::printf("%s: inf\n", name.c_str());
  } else {
    std::printf("%s: %.1f\n", name.c_str(), db);
  }
}

std::vector<QualityDifference> printFidelity(pf::GlRenderer& renderer, const std::string& scene,
                                             const std::string& shotsDir) {
  std::vector<QualityDifference> differences = compareQualities(renderer, scene, shotsDir);
  for (const QualityDifference& d : differences) {
    const std::string prefix = "scene_" + scene + "_q" + std::to_string(d.level);
    printDb(prefix + "_psnr_db", d.psnrDb);
    std::printf("%s_max_error: %d\n", prefix.c_str(), d.maxError);
  }
  return differences;
}

void printPaced(const std::string& scene, double seconds, const std::vector<QualityDifference>& differences) {
  const PacedPlay play = playPaced(scene, seconds);
  const std::string prefix = "scene_" + scene;
  std::printf("%s_game_speed: %.3f\n", prefix.c_str(), play.gameSpeed);
  std::printf("%s_shown_fps: %.1f\n", prefix.c_str(), play.shownFramesPerSecond);
  std::printf("%s_quality: %.2f\n", prefix.c_str(), play.fullQualityShare);
  double db = INFINITY;
  for (const int level : play.levelsUsed) {
    for (const QualityDifference& d : differences) {
      if (d.level == level) db = std::min(db, d.psnrDb);
    }
  }
  printDb(prefix + "_psnr_db", db);
}

double sceneCpuMs(pf::GlRenderer& renderer, const SceneOptions& options) {
  return timeScenes(renderer, options).at(0).cpuMedianMs;
}

// The layer table of one scene (see --layers). The whole scene is timed
// before and after the runs that leave a layer out; a layer's saving is
// measured against the mean of the two.
void probeLayers(pf::GlRenderer& renderer, SceneOptions options, int probed) {
  pf::DisplayBackend& display = *pf::displayBackend();
  LayerProbe probe(display, &renderer);
  pf::installDisplayBackend(&probe);
  options.atTimedStart = [&] { probe.resetTallies(); };
  const SceneTiming whole = timeScenes(renderer, options).at(0);
  const std::vector<LayerTally> layers = probe.tallies();
  const double flipMs = probe.flipMs();
  LayerProbe quiet(display);
  pf::installDisplayBackend(&quiet);
  const double before = sceneCpuMs(renderer, options);
  std::vector<double> saved;
  for (size_t i = 0; i < layers.size() && static_cast<int>(i) < probed; ++i) {
    quiet.leaveOut(layers[i].key);
    saved.push_back(sceneCpuMs(renderer, options));
  }
  quiet.leaveOut(0);
  const double after = sceneCpuMs(renderer, options);
  pf::installDisplayBackend(&display);
  const double base = (before + after) / 2;
  std::printf(
      "%s: cpu %.2f ms a frame (median frame %.2f and %.2f in the runs around the leave-outs), %.0f draw calls, "
      "present+swap %.2f ms\n",
      whole.name.c_str(), whole.cpuMsPerFrame, before, after, whole.drawCallsPerFrame, flipMs);
  std::printf("  %-34s %9s %8s %10s\n", "layer", "prims", "Mpixels", "saved ms");
  double total = 0;
  for (size_t i = 0; i < layers.size(); ++i) {
    total += layers[i].pixels;
    std::printf("  %-34s %9.1f %8.3f", layers[i].name.c_str(), layers[i].primitives, layers[i].pixels / 1e6);
    if (i < saved.size()) std::printf(" %10.2f", base - saved[i]);
    std::printf("\n");
  }
  std::printf("  %-34s %9s %8.3f\n", "all", "", total / 1e6);
}

// The fill savings off and on, alternately (see --compare). The fragments
// the rasteriser shades are counted too (an occlusion query over the timed
// frames): a figure the machine's load cannot blur.
void compareSavings(pf::GlRenderer& renderer, SceneOptions options, int rounds) {
  std::vector<double> off, on;
  double fragments[2] = {0, 0};
  std::string name;
  GLuint query = 0;
  glGenQueries(1, &query);
  options.atTimedStart = [&] {
    renderer.flush();
    glBeginQuery(GL_SAMPLES_PASSED, query);
  };
  for (int r = 0; r < rounds; ++r) {
    for (const bool savings : {false, true}) {
      renderer.setFillSavings(savings);
      const SceneTiming t = timeScenes(renderer, options).at(0);
      renderer.flush();
      glEndQuery(GL_SAMPLES_PASSED);
      GLuint64 passed = 0;
      glGetQueryObjectui64v(query, GL_QUERY_RESULT, &passed);
      fragments[savings ? 1 : 0] = static_cast<double>(passed) / options.timedFrames;
      (savings ? on : off).push_back(t.cpuMedianMs);
      name = t.name;
    }
  }
  glDeleteQueries(1, &query);
  renderer.setFillSavings(true);
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("%s: median frame cpu ms, savings off:", name.c_str());
  for (double v : off) std::printf(" %.2f", v);
  std::printf("; on:");
  for (double v : on) std::printf(" %.2f", v);
  std::printf("; ratio off/on %.3f; Mfragments a frame off %.3f on %.3f\n", median(off) / median(on),
              fragments[0] / 1e6, fragments[1] / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  SceneOptions options;
  int probed = -1;
  int rounds = 0;
  int quality = 0;
  std::string shotsDir;
  bool fidelityOnly = false;
  double pacedSeconds = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--scene") == 0) {
      options.only = argv[i + 1];
    } else if (std::strcmp(argv[i], "--frames") == 0) {
      options.timedFrames = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--layers") == 0) {
      probed = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--compare") == 0) {
      rounds = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--quality") == 0) {
      quality = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--fidelity") == 0) {
      fidelityOnly = true;
      shotsDir = argv[i + 1];
    } else if (std::strcmp(argv[i], "--paced") == 0) {
      pacedSeconds = std::atof(argv[i + 1]);
    } else {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      return 2;
    }
  }
  const bool probing = argc > 1;
  settings = Settings{};
  settings.screendepth = 0;
  settings.sound = 0;
  settings.music = 0;
  if (!openDriverWindow()) return 1;
  requireGameAssets();
  const pf::Image& blob = assets.blobImage();
  const pf::Image& water = assets.waterFrames[0]();
  pf::GlRenderer& renderer = pf::sdlDisplay()->renderer();
  SeedRnd(1);

  // Textures upload on first use; one frame of each before measuring.
  drawFillFrame(water, blob, {});
  renderer.finish();

  renderer.setQuality(quality);
  if (probing) {
    for (const std::string& name : sceneNames()) {
      if (!options.only.empty() && options.only != name) continue;
      SceneOptions one = options;
      one.only = name;
      if (fidelityOnly) {
        printFidelity(renderer, name, shotsDir);
      } else if (pacedSeconds > 0) {
        printPaced(name, pacedSeconds, {});
      } else if (rounds > 0) {
        compareSavings(renderer, one, rounds);
      } else if (probed >= 0) {
        probeLayers(renderer, one, probed);
      } else {
        for (const SceneTiming& t : timeScenes(renderer, one)) printScene(t);
      }
      std::fflush(stdout);
    }
    pf::closeDisplay();
    pf::shutdownSdlBackends();
    return 0;
  }

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
  for (const SceneTiming& t : scenes) printScene(t);
  std::fflush(stdout);
  constexpr double kPacedSeconds = 5.0;
  for (const std::string& name : sceneNames()) {
    printPaced(name, kPacedSeconds, printFidelity(renderer, name, ""));
    std::fflush(stdout);
  }
  pf::closeDisplay();
  pf::shutdownSdlBackends();
  return 0;
}
