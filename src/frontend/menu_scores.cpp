// The scores screen: the ship carousel with each ship's local statistics and
// its online best list.
#include <string>

#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "frontend/best_list.hpp"
#include "frontend/menu.hpp"
#include "persist/online_scores.hpp"
#include "persist/scores.hpp"
#include "platform/platform.hpp"

namespace {

struct ShipStatsText {
  const char* name;      // the line shown once the ship is known
  const int* known;      // the flag that reveals the name (null: always)
  const int* completed;  // completing with the ship unlocks the next one
  const int* perfect;
};

ShipStatsText statsText(int number) {
  const Settings& s = settings;
  switch (number) {
    case 1: return {"ship: particle bird", nullptr, &s.ship2, &s.ship1perfect};
    case 2: return {"ship: straight shooter", &s.ship2, &s.ship3, &s.ship2perfect};
    case 3: return {"ship: sun spread", &s.ship3, &s.ship4, &s.ship3perfect};
    case 4: return {"ship: option star", &s.ship4, &s.ship5, &s.ship4perfect};
    case 5: return {"ship: green snake", &s.ship5, &s.ship6, &s.ship5perfect};
    // Ship six is named once ship five is unlocked, before it is itself.
    default: return {"ship: Mystery x", &s.ship5, &s.ship6, &s.ship6perfect};
  }
}

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

void menu::openScores() {
  menustate = "stats";
  selectedItem = 1;
  playoffset = -100;
  for (int ship = 1; ship <= 6; ++ship) {
    const ShipScoreSummary summary = shipScoreSummary(ship);
    const size_t i = static_cast<size_t>(ship - 1);
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
  drawTextCentred("back", static_cast<float>(playoffset + 400), 550, 1);
  drawTextCentred("back", static_cast<float>(playoffset + 1100), 550, 1);

  pf::setScale(0.75f, 0.75f);
  pf::drawText("time spent: " + twoDigits(settings.hours) + ":" + twoDigits(settings.minutes) + ":" +
                   twoDigits(settings.seconds),
               50, 100);
  drawTextCentred("Worlds best", 550, 30, 1);

  if (playoffset == 0 || playoffset == -700) {
    if (buttonpressed == 1) menustate = "main";
    return;
  }
  drawShipStats(-playoffset / 100);
}

void menu::drawShipStats(int number) {
  const size_t i = static_cast<size_t>(number - 1);
  drawBestList(scores[i]);
  const ShipStatsText text = statsText(number);
  resetDrawState();
  pf::setScale(0.75f, 0.75f);
  const bool known = text.known == nullptr || *text.known == 1;
  pf::drawText(known ? text.name : "ship: ??????", 50, 130);
  pf::drawText("highest score: " + std::to_string(bestScores[i]), 50, 180);
  pf::drawText("average score: " + std::to_string(averageScores[i]), 50, 220);
  pf::drawText(*text.completed == 1 ? "completed game: Yes!" : "completed game: No!", 50, 250);
  pf::drawText(*text.perfect == 1 ? "perfect game: Yes!" : "perfect game: no!", 50, 280);
  resetDrawState();
}
