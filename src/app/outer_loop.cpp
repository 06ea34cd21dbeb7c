#include "app/outer_loop.hpp"

#include "app/startup.hpp"
#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "platform/platform.hpp"

void runOuterLoop() {
  if (settings.screendepth == 32) pf::hidePointer();
  std::unique_ptr<menu> title = menu::Create();
  while (true) {
    const int quit = title->Update();
    pf::flip();
    if (quit != 0) break;
  }
}

int runProgram() {
  switch (startUp()) {
    case StartupResult::databaseFailed:
      return 0;
    case StartupResult::displayFailed:
      return 1;
    case StartupResult::ready:
      break;
  }
  showLogo();
  runOuterLoop();
  shutDown();
  return 0;
}
