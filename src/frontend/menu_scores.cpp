// The scores screen: the ship carousel with each ship's local statistics and
// its online best list.
#include <string>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "essentials/sound_helpers.hpp"
#include "frontend/best_list.hpp"
#include "frontend/menu.hpp"
#include "frontend/replay_theatre.hpp"
#include "game/gameplay_version.hpp"
#include "game/run_recording.hpp"
#include "persist/online_scores.hpp"
#include "persist/replay_store.hpp"
#include "persist/scores.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

namespace {

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

void menu::openScores() {
  menustate = "stats";
  selectedItem = 1;
  playoffset = -100;
  for (size_t i = 0; i < shipRegistry().size(); ++i) {
    const ShipScoreSummary summary = shipScoreSummary(shipRegistry()[i].playertype);
    gamesplayed[i] = summary.played;
    bestScores[i] = summary.highest;
    averageScores[i] = summary.average;
  }
  pf::clear();
  drawTextCentred("Loading online Scores...", 400, 300, 1);
  pf::setScale(0.5f, 0.5f);
  drawTextCentred("this may take a little while if you have a slow connection", 400, 350, 1);
  pf::flip();
  fetchBestLists(scores);
}

void menu::screenStats() {
  titlestring = "Scores";
  drawcursor = 0;
  resetDrawState();
  flyCarousel();

  resetDrawState();
  pf::setScale(1.5f, 1.75f);
  pf::setRotation(90);
  drawTextCentred(">", 429, static_cast<float>(525 + 5 * Sin(5.0 * timer)), 1);

  moveCarousel();

  resetDrawState();
  drawBackStops();

  pf::setScale(0.75f, 0.75f);
  pf::drawText("time spent: " + twoDigits(settings.hours) + ":" + twoDigits(settings.minutes) + ":" +
                   twoDigits(settings.seconds),
               50, 100);
  drawTextCentred("Worlds best", 550, 30, 1);

  if (const ShipEntry* entry = carouselShip()) {
    drawShipStats(*entry);
    if (pf::keyHit(pf::vk::kR) > 0) watchBestRun(*entry);
    if (pf::keyHit(pf::vk::kW) > 0) watchWorldBestRun(*entry);
  } else if (buttonpressed == 1) {
    menustate = "main";
  }
}

void menu::drawShipStats(const ShipEntry& entry) {
  const size_t i = shipIndex(entry);
  drawBestList(scores[i]);
  resetDrawState();
  pf::setScale(0.75f, 0.75f);
  const bool known = entry.namedWhen == nullptr || settings.*(entry.namedWhen) == 1;
  pf::drawText(known ? entry.statsName : "ship: ??????", 50, 130);
  pf::drawText("highest score: " + std::to_string(bestScores[i]), 50, 180);
  pf::drawText("average score: " + std::to_string(averageScores[i]), 50, 220);
  pf::drawText(shipCompleted(entry) ? "completed game: Yes!" : "completed game: No!", 50, 250);
  pf::drawText(settings.*(entry.perfect) == 1 ? "perfect game: Yes!" : "perfect game: no!", 50, 280);
  pf::setScale(0.6f, 0.6f);
  pf::setColour(150, 150, 150);
  pf::drawText(scoresNoticeFrames_ > 0 ? scoresNotice_ : "R: watch your best run   W: the world's best", 50, 330);
  if (scoresNoticeFrames_ > 0) --scoresNoticeFrames_;
  resetDrawState();
}

void menu::watchBestRun(const ShipEntry& entry) {
  const std::string path = bestStoredReplay(replaysFolder(), entry.playertype, kGameplayVersion);
  watchInMenu(path.empty() ? ReplayRead{} : readReplayFile(path), "no run of this ship recorded yet");
}

void menu::watchWorldBestRun(const ShipEntry& entry) {
  pf::clear();
  drawTextCentred("Loading the world's best run...", 400, 300, 1);
  pf::flip();
  const std::string bytes = fetchWorldBestReplay(entry.playertype);
  watchInMenu(bytes.empty() ? ReplayRead{} : decodeReplay(std::vector<uint8_t>(bytes.begin(), bytes.end())),
              "no verified run of this ship online");
}

// The replay in the theatre, or, when there is none (`missing` says so) or
// it cannot be watched, a notice for a while.
void menu::watchInMenu(const ReplayRead& read, const char* missing) {
  const bool found = read.ok || !read.error.empty();
  if (!read.ok || !replayRefusal(read.replay).empty()) {
    scoresNotice_ = found ? "that run cannot be watched here" : missing;
    scoresNoticeFrames_ = 180;
    return;
  }
  if (settings.music == 1) pf::stopChannel(assets.musicTitle.channel);
  watchInTheatre(read.replay, kTheatreNormal);
  if (settings.music == 1) startMusic(assets.musicTitle);
  pf::flushKeys();
}
