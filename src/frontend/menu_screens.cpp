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
#include "ships/ship_demo.hpp"

namespace {

constexpr const char* kTitleEntries[] = {"Play", "Scores", "Achievements", "setup", "quit"};

// The carousel stops: 0 and -700 are the two "back" stops, -100 x n the
// registry's ship n.
constexpr int kStopWidth = 100;
constexpr int kFirstBackStop = 0;
constexpr int kLastBackStop = -kStopWidth * (kShipCount + 1);

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
  const ShipEntry* entry = carouselShip();
  if (entry == nullptr) {
    drawBackStops();
    if (buttonpressed == 1) menustate = "main";
    return;
  }
  playerbase& ship = *playerarray[shipIndex(*entry)];
  if (shipIsUnlocked(*entry)) {
    DemoStage stage{bulletlist, missilelist, powerringlist, bloodlist,        firelist,
                    clsalpha,   fireShip_,   bullettimer,   playspecialtimer, timer};
    ship.demonstrate(stage);
    drawShipPanel(ship, *entry);
    if (buttonpressed == 1) begingame = entry->playertype;
  } else {
    drawLockedPanel();
  }
}

const ShipEntry* menu::carouselShip() const {
  if (playoffset == kFirstBackStop || playoffset == kLastBackStop) return nullptr;
  return &shipRegistry()[static_cast<size_t>(-playoffset / kStopWidth - 1)];
}

void menu::drawBackStops() {
  drawTextCentred("back", static_cast<float>(playoffset + 400), 550, 1);
  drawTextCentred("back", static_cast<float>(playoffset + 400 - kLastBackStop), 550, 1);
}

void menu::flyCarousel() {
  for (size_t i = 0; i < playerarray.size(); ++i) {
    const float x = static_cast<float>(500 + playoffset + kStopWidth * static_cast<int>(i));
    playerbase& ship = *playerarray[i];
    // A locked ship still flies (and bubbles) in its place; only its picture
    // is replaced by the question mark.
    ship.Update(static_cast<float>(playoffset), 0, 0, bubblelist);
    if (i == 0 || program.shipUnlocked[i - 1] == 1) {
      ship.paint();
    } else {
      resetDrawState();
      pf::setScale(2, 2);
      drawTextCentred("?", x, 550, 1);
    }
    ship.x = x;
    ship.y = 550;
  }
}

void menu::moveCarousel() {
  if (joytimer > 10) {
    const bool stickLeft = settings.usejoy == 1 && joyMoveX() < -settings.jThreshhold;
    const bool stickRight = settings.usejoy == 1 && !stickLeft && joyMoveX() > settings.jThreshhold;
    if (pf::keyHit(pf::vk::kLeft) > 0 || pf::keyHit(settings.leftkey) > 0 || stickLeft) {
      joytimer = 0;
      if (playoffset < kFirstBackStop) playoffset += kStopWidth;
    } else if (pf::keyHit(pf::vk::kRight) > 0 || pf::keyHit(settings.rightkey) > 0 || stickRight) {
      joytimer = 0;
      if (playoffset > kLastBackStop) playoffset -= kStopWidth;
    }
  }
}

void menu::drawShipPanel(const playerbase& ship, const ShipEntry& entry) {
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
  if (entry.bothButtons != nullptr) {
    pf::drawText(keyName(settings.fire1key) + " + " + keyName(settings.fire2key) + ": " + entry.bothButtons, 550, 280);
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
