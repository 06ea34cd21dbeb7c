#include "app/startup.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/asset_loader.hpp"
#include "app/asset_store.hpp"
#include "app/logoscreen.hpp"
#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "persist/score_server.hpp"
#include "persist/settings_row.hpp"
#include "platform/platform.hpp"
#include "ships/ship_registry.hpp"

namespace {

// One line saying what failed and what the program needs to run.
void reportDisplayFailure() {
  std::string line = "Ovelune could not open its display: " + pf::lastDisplayError();
  if (line.find("DISPLAY") == std::string::npos) line += "; a desktop session or DISPLAY is needed";
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Stays on screen while the sounds and the rest of the images decode.
void showLoadingFrame() {
  pf::clear();
  pf::setScale(1.0f, 1.0f);
  pf::setBlend(pf::kBlendAlpha);
  drawTextCentred("Loading...", 400.0f, 300.0f, 1);
  pf::setScale(0.5f, 0.5f);
  drawTextCentred("please wait...", 400.0f, 350.0f, 1);
  resetDrawState();
  pf::flip();
}

// The achievement and unlock flags from the settings just loaded.
void applyStoredFlags() {
  const std::string& stored = settings.achievements;
  for (size_t i = 0; i < program.achievementFlags.size(); ++i) {
    // A missing or non-digit position reads as 0, as a numeric read of it would.
    const char c = i < stored.size() ? stored[i] : '0';
    program.achievementFlags[i] = (c >= '0' && c <= '9') ? c - '0' : 0;
  }
  syncShipUnlocks();
}

}  // namespace

Startup startUp(const std::string& databasePath) {
  registerAssetStore();
  configureScoreServer(std::getenv("OVELUNE_SCORE_SERVER"));
  // The audio device is the backend's choice (OpenAL, or silent without a
  // device); there is no driver to select by name here.

  DbResult db = openDatabase(databasePath);
  if (db) db = createTables();
  if (db) db = loadSettings();
  if (!db) return Startup{StartupResult::databaseFailed, db.consoleText()};
  applyStoredFlags();
  SeedRnd(static_cast<uint64_t>(pf::millisecs()));

  if (!pf::openDisplay(settings.screenwidth, settings.screenheight, settings.screendepth)) {
    reportDisplayFailure();
    settingsDb.close();
    return Startup{StartupResult::displayFailed, ""};
  }
  pf::setWindowTitle("Ovelune");
  pf::enableLineSmoothing();

  AssetFailure failed = loadFontAndImages();
  if (!failed) {
    pf::clear();
    pf::flip();
    failed = makeRockSlices();
  }
  if (!failed) {
    showLoadingFrame();
    failed = loadWaterFrames();
  }
  if (!failed) failed = loadAchievements();
  if (!failed) failed = loadSoundsAndChannels();
  if (failed) {
    pf::closeDisplay();
    settingsDb.close();
    return Startup{StartupResult::assetFailed, *failed + "\n"};
  }

  settings.usejoy = pf::joyCount() >= 1 ? 1 : 0;
  pf::setBlend(pf::kBlendAlpha);
  return Startup{};
}

void showLogo() {
  logoscreen logo;
  playSfx(assets.sfxYes, 1.0f, 1.0f);
  // A request to close the window cuts the logo short; the menu then acts
  // on it (the request stays set), so the program ends without waiting.
  while (logo.Do() == 0 && !pf::closeRequested()) {
    pf::flip();
    pf::clear();
  }
}

DbResult shutDown() {
  DbResult saved = saveSettings();
  pf::closeDisplay();
  pf::showPointer();
  return saved;
}
