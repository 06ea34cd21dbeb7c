// Ovelune: program entry. Starts the real backends and runs the game, or,
// with `--replay FILE`, plays a recorded run back.
#include <cstdio>
#include <string>

#include "app/data_folder.hpp"
#include "app/outer_loop.hpp"
#include "app/replay_viewer.hpp"
#include "frontend/replay_theatre.hpp"
#include "platform/sdl/sdl_backends.hpp"

namespace {

// An installed build (OVELUNE_DATA_HOME) keeps the player's files in the XDG
// data folder; one run from the source tree keeps them where it is started.
#ifdef OVELUNE_DATA_HOME
constexpr bool kDataInHome = true;
constexpr const char* kDataPlace = "$XDG_DATA_HOME/ovelune (by default ~/.local/share/ovelune)";
#else
constexpr bool kDataInHome = false;
constexpr const char* kDataPlace = "the folder it is started from";
#endif

void printHelp() {
  std::printf(
      "usage: ovelune [--replay FILE [--speed N]]\n"
      "A vertical shoot-'em-up in a neon-lit deep sea.\n"
      "\n"
      "  --replay FILE  watch a recorded run: Space pauses, . steps a frame,\n"
      "                 Up and Down change the speed, Left and Right go ten\n"
      "                 seconds back or on, R starts again, Escape ends it\n"
      "  --speed N      start watching at N times the speed: 1/4, 1/2, 1, 2, 4 or 8\n"
      "  --version      print the version and exit\n"
      "  --help         print this help and exit\n"
      "\n"
      "Settings, scores (VE4R.dtb) and replays/ are kept in %s.\n",
      kDataPlace);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (argc == 2 && first == "--version") {
    std::printf("ovelune %s\n", OVELUNE_VERSION);
    return 0;
  }
  if (argc == 2 && first == "--help") {
    printHelp();
    return 0;
  }
  const bool speedGiven = argc == 5 && std::string(argv[3]) == "--speed";
  const bool watching = (argc == 3 || speedGiven) && first == "--replay";
  const int speed = speedGiven ? theatreSpeedIndex(argv[4]) : kTheatreNormal;
  if ((argc > 1 && !watching) || speed < 0) {
    std::printf("usage: ovelune [--replay FILE [--speed N]] | --version | --help\n");
    return 2;
  }
  // A replay this build cannot play is refused before any window opens. It is
  // read before the data folder becomes the working directory, so a relative
  // path names a file where the player typed it.
  Replay replay;
  if (watching && !loadWatchableReplay(argv[2], &replay)) return 1;
  std::string folderError;
  if (kDataInHome && !enterPlayerDataFolder(&folderError)) {
    std::printf("Ovelune: %s\n", folderError.c_str());
    return 1;
  }
  if (!pf::installSdlBackends()) {
    std::printf("Ovelune: %s\n", pf::sdlInitError().c_str());
    return 1;
  }
  const int status = watching ? watchReplay(replay, speed) : runProgram();
  pf::shutdownSdlBackends();
  return status;
}
