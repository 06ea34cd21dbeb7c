// Ovelune: program entry. Starts the real backends and runs the game.
#include <cstdio>

#include "app/outer_loop.hpp"
#include "platform/sdl/sdl_backends.hpp"

int main() {
  if (!pf::installSdlBackends()) {
    std::printf("Ovelune: %s\n", pf::sdlInitError().c_str());
    return 1;
  }
  const int status = runProgram();
  pf::shutdownSdlBackends();
  return status;
}
