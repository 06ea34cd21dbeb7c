// Ovelune: program entry. Starts the real backends and runs the game, or,
// with `--replay FILE`, plays a recorded run back.
#include <cstdio>
#include <string>

#include "app/outer_loop.hpp"
#include "app/replay_viewer.hpp"
#include "platform/sdl/sdl_backends.hpp"

int main(int argc, char** argv) {
  const bool watching = argc == 3 && std::string(argv[1]) == "--replay";
  if (argc > 1 && !watching) {
    std::printf("usage: ovelune [--replay FILE]\n");
    return 2;
  }
  // A replay this build cannot play is refused before any window opens.
  Replay replay;
  if (watching && !loadWatchableReplay(argv[2], &replay)) return 1;
  if (!pf::installSdlBackends()) {
    std::printf("Ovelune: %s\n", pf::sdlInitError().c_str());
    return 1;
  }
  const int status = watching ? watchReplay(replay) : runProgram();
  pf::shutdownSdlBackends();
  return status;
}
