// The title screen and the ship-selection carousel.
#include <string>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/input_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "frontend/menu.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

namespace {

constexpr const char* kTitleEntries[] = {"Play", "Scores", "Achievements", "setup", "quit"};

// The carousel stops: 0 and -700 are the two "back" stops, -100 x n ship n.
constexpr int kFirstBackStop = 0;
constexpr int kLastBackStop = -700;

bool shipUnlockedSetting(int number) {
  switch (number) {
    case 1: return true;
    case 2: return settings.ship2 == 1;
    case 3: return settings.ship3 == 1;
    case 4: return settings.ship4 == 1;
    case 5: return settings.ship5 == 1;
    case 6: return settings.ship6 == 1;
    default: return false;
  }
}

}  // namespace

void menu::screenMain() {
  titlestring = "Ovelune";
  cursormax = 5;
  pf::setScale(1, 1);
  for (int i = 0; i < 5; ++i) pf::drawText(kTitleEntries[i], 50, static_cast<float>(80 + 30 * i));
  cursorY = 80 + 30 * (selectedItem - 1);
  if (buttonpressed != 1) return;
  switch (selectedItem) {
    case 1:
      menustate = "play";
      selectedItem = 1;
      playoffset = -100;
      break;
    case 2: openScores(); break;
    case 3:
      selectedItem = 1;
      menustate = "achievements";
      break;
    case 4:
      selectedItem = 1;
      menustate = "setup";
      break;
    case 5: quit = 1; break;
    default: break;
  }
}

void menu::screenPlay() {
  titlestring = "Select Ship";
  bullettimer += 5;
  playspecialtimer += 1;
  if (playspecialtimer == 250) playspecialtimer = 0;

  flyCarousel();

  resetDrawState();
  pf::setScale(1.5f, 1.5f);
  drawTextCentred("<", static_cast<float>(320 + 5 * Sin(5.0 * timer)), 450, 1);
  drawTextCentred(">", static_cast<float>(480 + 5 * Sin(-5.0 * timer)), 450, 1);

  moveCarousel();

  resetDrawState();
  if (playoffset == kFirstBackStop || playoffset == kLastBackStop) {
    drawTextCentred("back", static_cast<float>(playoffset + 400), 550, 1);
    drawTextCentred("back", static_cast<float>(playoffset + 1100), 550, 1);
    if (buttonpressed == 1) menustate = "main";
    return;
  }
  const int number = -playoffset / 100;
  playerbase* ship = playerarray[static_cast<size_t>(number - 1)].get();
  if (ship != nullptr && shipUnlockedSetting(number)) {
    if (number == 1) ship->rotation = static_cast<float>(20 * Sin(timer));
    runDemonstration(*ship);
    drawShipPanel(*ship, number);
    if (buttonpressed == 1) begingame = number;
  } else {
    drawLockedPanel();
  }
}

void menu::flyCarousel() {
  for (int i = 0; i < 6; ++i) {
    const float x = static_cast<float>(500 + playoffset + 100 * i);
    playerbase* ship = playerarray[static_cast<size_t>(i)].get();
    const bool unlocked = i == 0 || program.shipUnlocked[static_cast<size_t>(i - 1)] == 1;
    // A locked ship still flies (and bubbles) in its place; only its picture
    // is replaced by the question mark.
    if (ship != nullptr) ship->Update(static_cast<float>(playoffset), 0, 0, bubblelist);
    if (ship != nullptr && unlocked) {
      ship->paint();
    } else {
      resetDrawState();
      pf::setScale(2, 2);
      drawTextCentred("?", x, 550, 1);
    }
    if (ship != nullptr) {
      ship->x = x;
      ship->y = 550;
    }
  }
}

void menu::moveCarousel() {
  if (joytimer > 10) {
    const bool stickLeft = settings.usejoy == 1 && joyMoveX() < -settings.jThreshhold;
    const bool stickRight = settings.usejoy == 1 && !stickLeft && joyMoveX() > settings.jThreshhold;
    if (pf::keyHit(pf::vk::kLeft) > 0 || pf::keyHit(settings.leftkey) > 0 || stickLeft) {
      joytimer = 0;
      if (playoffset < kFirstBackStop) playoffset += 100;
    } else if (pf::keyHit(pf::vk::kRight) > 0 || pf::keyHit(settings.rightkey) > 0 || stickRight) {
      joytimer = 0;
      if (playoffset > kLastBackStop) playoffset -= 100;
    }
  }
}

void menu::drawShipPanel(const playerbase& ship, int number) {
  resetDrawState();
  pf::setScale(0.75f, 0.75f);
  pf::drawText("Ship: " + ship.Name, 30, 200);
  pf::drawText("Weapons: " + ship.weaponstrength, 30, 240);
  pf::drawText("Special: " + ship.specialstrength, 30, 280);
  pf::drawText("speed: " + ship.speed, 30, 320);
  pf::drawText("Controls", 550, 160);
  pf::drawText(keyName(settings.fire1key) + ": " + ship.attack1, 550, 200);
  pf::drawText(keyName(settings.fire2key) + ": " + ship.attack2, 550, 240);
  float specialY = 280;
  if (number == 1) {
    pf::drawText(keyName(settings.fire1key) + " + " + keyName(settings.fire2key) + ": Shoot straight", 550, 280);
    specialY = 320;
  }
  pf::drawText(keyName(settings.fire3key) + ": " + ship.attack3, 550, specialY);
  resetDrawState();
}

void menu::drawLockedPanel() {
  resetDrawState();
  pf::setScale(0.75f, 0.75f);
  pf::drawText("Ship: ??????", 30, 200);
  pf::drawText("Weapons: ??????", 30, 240);
  pf::drawText("Special: ??????", 30, 280);
  pf::drawText("speed: ??????", 30, 320);
  resetDrawState();
}
