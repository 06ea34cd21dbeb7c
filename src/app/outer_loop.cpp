#include "app/outer_loop.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

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

// With OVELUNE_MENU_TRACE set, one line on standard error each time the
// menu's screen or selection changes. Scripts that drive the game with key
// presses follow it to wait for each press's effect.
class MenuTrace {
 public:
  MenuTrace() : on_(std::getenv("OVELUNE_MENU_TRACE") != nullptr) {}

  void after(const menu& m) {
    if (!on_) return;
    const std::string line = "menu " + m.menustate + " item=" + std::to_string(m.selectedItem) +
                             " ship=" + std::to_string(m.playoffset) + " ach=" + std::to_string(m.achrow) + "/" +
                             std::to_string(m.achselected) + "\n";
    if (line == last_) return;
    last_ = line;
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  }

 private:
  bool on_;
  std::string last_;
};

}  // namespace

DbResult runOuterLoop() {
  if (settings.screendepth == 32) pf::hidePointer();
  std::unique_ptr<menu> title = menu::Create();
  MenuTrace trace;
  while (true) {
    const int quit = title->Update();
    trace.after(*title);
    pf::flipKeepingTime();
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
    case StartupResult::assetFailed: std::fputs(start.consoleText.c_str(), stdout); return 1;
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
