#include "app/outer_loop.hpp"

#include <cstdio>
#include <cstdlib>

#include "app/startup.hpp"
#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "persist/settings_row.hpp"
#include "platform/platform.hpp"

namespace {

// The database's own words on standard output; the program then ends with
// status 0, as it always has for a database it cannot use.
int endOnDatabaseFailure(const std::string& consoleText) {
  std::fputs(consoleText.c_str(), stdout);
  std::fflush(stdout);
  return 0;
}

// The display server went away: nothing can be shown or read any more. The
// settings are saved when the database is open, one line says what happened,
// and the process ends at once: no teardown may wait on the dead server.
[[noreturn]] void endOnDisplayLoss() {
  const bool saved = settingsDb.isOpen() && saveSettings().ok();
  std::printf("Ovelune: the display was lost; %s\n",
              saved ? "the settings are saved" : "the settings could not be saved");
  std::fflush(stdout);
  std::_Exit(1);
}

}  // namespace

DbResult runOuterLoop() {
  if (settings.screendepth == 32) pf::hidePointer();
  std::unique_ptr<menu> title = menu::Create();
  while (true) {
    const int quit = title->Update();
    pf::flip();
    if (quit != 0) break;
  }
  return title->lastSave();
}

int runProgram() {
  pf::setDisplayLostHandler(endOnDisplayLoss);
  const Startup start = startUp();
  switch (start.result) {
    case StartupResult::databaseFailed: return endOnDatabaseFailure(start.consoleText);
    case StartupResult::displayFailed: return 1;
    case StartupResult::ready: break;
  }
  showLogo();
  const DbResult ran = runOuterLoop();
  if (!ran) {
    pf::closeDisplay();
    pf::showPointer();
    return endOnDatabaseFailure(ran.consoleText());
  }
  const DbResult saved = shutDown();
  return saved ? 0 : endOnDatabaseFailure(saved.consoleText());
}
