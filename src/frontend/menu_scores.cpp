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
  pf::drawText(scoresNoticeFrames_ > 0 ? scoresNotice_ : "R: watch your best run", 50, 330);
  if (scoresNoticeFrames_ > 0) --scoresNoticeFrames_;
  resetDrawState();
}

void menu::watchBestRun(const ShipEntry& entry) {
  const std::string path = bestStoredReplay(replaysFolder(), entry.playertype, kGameplayVersion);
  const ReplayRead read = path.empty() ? ReplayRead{} : readReplayFile(path);
  if (!read.ok) {
    scoresNotice_ = path.empty() ? "no run of this ship recorded yet" : "that run cannot be watched";
    scoresNoticeFrames_ = 180;
    return;
  }
  if (settings.music == 1) pf::stopChannel(assets.musicTitle.channel);
  watchInTheatre(read.replay, kTheatreNormal);
  if (settings.music == 1) startMusic(assets.musicTitle);
  pf::flushKeys();
}
