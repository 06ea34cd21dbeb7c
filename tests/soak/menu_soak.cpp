// A long session on the headless backend: the title menu left running for
// FRAMES frames, then RUNS runs started from it (each quit from the pause
// screen after a while of play). Prints the peak resident memory after the
// warm-up and at the end; fails when it grew by more than the allowance.
// Usage: ovelune-menu-soak FRAMES RUNS
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/asset_loader.hpp"
#include "essentials/assets.hpp"
#include "frontend/menu.hpp"
#include "persist/database.hpp"
#include "persist/score_server.hpp"
#include "platform/input_state.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"
#include "temp_dir.hpp"
#include "test_support.hpp"

namespace {

constexpr long kAllowanceKb = 16 * 1024;
constexpr int kWarmUpFrames = 600;
constexpr int kFramesPerRun = 900;

long peakRssKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FRAMES RUNS\n", argv[0]);
    return 2;
  }
  const long frames = std::atol(argv[1]);
  const int runs = std::atoi(argv[2]);

  pf::HeadlessBackend& display = freshHeadless(1);
  requireGameAssets();
  configureScoreServer("127.0.0.1:1");  // nothing listens: every submission fails at once
  const TempDir dir;
  if (!openDatabase(dir.file(kDatabaseFile)) || !createTables()) return 1;
  std::unique_ptr<menu> title = menu::Create();

  long start = 0;
  for (long frame = 0; frame < frames; ++frame) {
    if (title->Update() != 0) return 1;
    pf::flip();
    if (frame == kWarmUpFrames) start = peakRssKb();
  }
  if (start == 0) start = peakRssKb();
  std::printf("menu: %ld frames, peak RSS %ld kB after the warm-up, %ld kB now\n", frames, start, peakRssKb());

  // Each run is played for a while, then paused and quit; Return confirms
  // the name entry that follows.
  int playFrames = 0;
  display.setFrameHook([&playFrames] {
    if (++playFrames == kFramesPerRun) {
      pf::inputState().keyPressed(pf::vk::kEscape);
      pf::inputState().keyPressed(pf::vk::kQ);
    }
    pf::inputState().keyPressed(pf::vk::kReturn);
    pf::inputState().keyReleased(pf::vk::kReturn);
  });
  for (int run = 0; run < runs; ++run) {
    playFrames = 0;
    title->menustate = "play";
    title->begingame = run % 6 + 1;
    if (title->Update() != 0) return 1;
    pf::inputState().keyReleased(pf::vk::kEscape);
    pf::inputState().keyReleased(pf::vk::kQ);
    if (playFrames < kFramesPerRun) std::printf("run %d: the ship was lost after %d frames\n", run + 1, playFrames);
  }
  display.setFrameHook(nullptr);
  settingsDb.close();
  const long end = peakRssKb();
  std::printf("%d runs: peak RSS %ld kB at the start, %ld kB at the end\n", runs, start, end);
  if (end - start > kAllowanceKb) {
    std::fprintf(stderr, "memory grew by %ld kB\n", end - start);
    return 1;
  }
  return 0;
}
