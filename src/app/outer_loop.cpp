#include "app/outer_loop.hpp"

#include "app/startup.hpp"
#include "app/title_standin.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"

void runOuterLoop() {
  if (settings.screendepth == 32) pf::hidePointer();
  // The title menu takes this place: menu.Create() once, then menu.Update().
  while (true) {
    const int quit = titleStandInUpdate();
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
