#include "app/replay_viewer.hpp"

#include <cstdio>

#include "app/startup.hpp"
#include "essentials/settings.hpp"
#include "frontend/replay_theatre.hpp"
#include "game/run_recording.hpp"
#include "persist/replay_file.hpp"

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

int watchReplay(const Replay& replay, int speedIndex) {
  const Startup start = startUp();
  if (start.result != StartupResult::ready) {
    std::fputs(start.consoleText.c_str(), stdout);
    return 1;
  }
  const bool watched = watchInTheatre(replay, speedIndex);
  if (!watched) std::printf("Ovelune: cannot watch the replay: there is no ship %d\n", replay.ship);
  (void)shutDown();
  return watched ? 0 : 1;
}
