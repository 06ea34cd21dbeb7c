#include "app/replay_viewer.hpp"

#include <cstdio>

#include "app/startup.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "game/game_frame.hpp"
#include "game/level.hpp"
#include "game/run_recording.hpp"
#include "persist/replay_file.hpp"
#include "platform/input_tape.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

bool loadWatchableReplay(const std::string& path, Replay* replay) {
  ReplayRead read = readReplayFile(path);
  if (!read.ok) {
    std::printf("Ovelune: cannot watch %s\n", read.error.c_str());
    return false;
  }
  if (const std::string refusal = replayRefusal(read.replay); !refusal.empty()) {
    std::printf("Ovelune: cannot watch %s: %s\n", path.c_str(), refusal.c_str());
    return false;
  }
  if (const std::string warning = environmentWarning(read.replay); !warning.empty()) {
    std::printf("Ovelune: note: %s: %s\n", path.c_str(), warning.c_str());
  }
  *replay = std::move(read.replay);
  return true;
}

int watchReplay(const Replay& replay) {
  const Startup start = startUp();
  if (start.result != StartupResult::ready) {
    std::fputs(start.consoleText.c_str(), stdout);
    return 1;
  }

  std::unique_ptr<game> g = startReplay(replay);
  if (!g) {
    std::printf("Ovelune: cannot watch the replay: there is no ship %d\n", replay.ship);
    (void)shutDown();
    return 1;
  }
  pf::flushKeys();
  pf::liveKeyHit(pf::vk::kEscape);
  while (!pf::inputTape().exhausted() && !pf::inputTape().diverged()) {
    if (playFrame(*g) == 1) break;
    if (pf::liveKeyHit(pf::vk::kEscape) > 0 || pf::closeRequested()) break;
  }
  const std::string divergence = pf::inputTape().divergence();
  endReplay();
  stopLevelMusic();
  if (!divergence.empty()) std::printf("Ovelune: the replay went its own way at %s\n", divergence.c_str());
  (void)shutDown();
  return 0;
}
