// Running a chosen ship's run inside the menu's frame, and booking what the
// run leaves behind.
#include <cstdio>

#include "essentials/assets.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "frontend/menu.hpp"
#include "frontend/name_entry.hpp"
#include "frontend/unlockscreen.hpp"
#include "game/game.hpp"
#include "game/game_frame.hpp"
#include "game/level.hpp"
#include "game/run_recording.hpp"
#include "persist/online_scores.hpp"
#include "persist/replay_store.hpp"
#include "persist/scores.hpp"
#include "persist/settings_row.hpp"
#include "platform/platform.hpp"

namespace {

// Adds a run's play time; each sum of 60 or more carries into the next unit.
void addPlayTime(int mins, int secs) {
  settings.seconds += secs;
  if (settings.seconds >= 60) {
    settings.seconds -= 60;
    settings.minutes += 1;
  }
  settings.minutes += mins;
  if (settings.minutes >= 60) {
    settings.minutes -= 60;
    settings.hours += 1;
  }
}

// A replay that cannot be kept costs the player nothing else: one line says so.
void keepReplay(const std::string& folder, const Replay& replay) {
  std::string path;
  std::string error;
  if (!storeReplay(folder, replay, &path, &error))
    std::fprintf(stderr, "Ovelune: replay not kept: %s\n", error.c_str());
}

}  // namespace

void menu::playGame() {
  if (settings.music == 1) pf::stopChannel(assets.musicTitle.channel);
  const uint64_t seed = newRunSeed();
  std::unique_ptr<game> g = startRecordedRun(begingame, seed);
  int unlock = 0;
  if (g) {
    int ended = 0;
    while (ended == 0) ended = playFrame(*g);
    const Replay replay = finishRecordedRun(*g, seed);
    // Taken while the database is open: a failed save closes it, and the
    // replay still belongs beside it, not in whatever folder the game was
    // started from.
    const std::string folder = replaysFolder();
    // Everything the run earned is saved before the player is asked for a
    // name and the network is waited for: closing the game there loses nothing.
    unlock = bookAftermath(*g);
    // The settings could not be saved: the program ends with the database's
    // report, so nothing more is shown.
    if (!lastSave_) {
      keepReplay(folder, replay);
      quit = 1;
      return;
    }
    submitRun(*g, replay);
    keepReplay(folder, replay);
  }
  if (unlock > 0 && !pf::closeRequested()) unlockscreen::Create(unlock)->Do();
  if (settings.music == 1) {
    stopLevelMusic();
    startMusic(assets.musicTitle);
  }
  begingame = 0;
  menustate = "main";
  missilelist.clear();
  firelist.clear();
  powerringlist.clear();
  bulletlist.clear();
  pf::flushKeys();
}

void menu::submitRun(const game& g, const Replay& replay) {
  const std::vector<uint8_t> bytes = encodeReplay(replay);
  if (!submitScore(submittedScore(g.score), g.p1->playertype, std::string(bytes.begin(), bytes.end()))) return;
  lastSave_ = saveSettings();  // the name just entered
}

int menu::bookAftermath(game& g) {
  const int ship = g.p1->playertype;
  insertScore(g.score, 1, ship);
  g.achievementlist.transferTo(achievementlist);

  const bool completed = g.gamecompleted == 1;
  const int unlock = bookShipUnlocks(ship, completed, g.gotperfect == 1);
  const ShipEntry* flown = findShip(ship);
  const bool hyperShip = flown != nullptr && flown->hyperAchievements;
  const bool award[kAchievements] = {
      allShipsPerfect(),
      g.gamefailed == 1,
      completed,
      hyperShip && g.lives == 3 && g.powerlevel >= 5 && completed,
      hyperShip && completed && g.totalpowerups == 0,
      false,
      false,
      false,  // the multiplier achievements arrive with the run's banners
      completed && g.jellycount == 0,
      completed && g.bosstimer >= 80,
  };
  for (int i = 0; i < kAchievements; ++i) {
    if (!award[i]) continue;
    if (auto banner = awardAchievement(i)) achievementlist.add(std::move(banner));
  }

  addPlayTime(g.mins, g.secs);
  lastSave_ = saveSettings();
  return unlock;
}
