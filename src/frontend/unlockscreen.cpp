#include "frontend/unlockscreen.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/input_helpers.hpp"
#include "essentials/sound_helpers.hpp"
#include "platform/platform.hpp"
#include "ships/ship_registry.hpp"

std::unique_ptr<unlockscreen> unlockscreen::Create(int aType) {
  auto s = std::make_unique<unlockscreen>();
  s->aType = aType;
  playSfx(assets.sfxYes, 1.0f, 1.0f);
  for (const ShipEntry& entry : shipRegistry()) {
    std::unique_ptr<playerbase> ship = entry.create();
    ship->caninput = 0;
    ship->x = 400;
    ship->y = 300;
    s->playerarray[shipIndex(entry)] = std::move(ship);
  }
  return s;
}

int unlockscreen::Do() {
  if (aType <= 0) return 0;
  const ShipEntry* entry = findShip(aType);
  playerbase* ship = entry != nullptr ? playerarray[shipIndex(*entry)].get() : nullptr;
  while (true) {
    resetDrawState();
    drawTextCentred("You unlocked a new ship!", 400, 200, 1);
    drawTextCentred("press return or fire to continue", 400, 450, 1);
    if (ship != nullptr) {
      ship->Update(0, 0, 0, bubblelist);
      ship->paint();
    }
    bubblelist.forEach([&](bubble& b) {
      b.paint();
      if (b.Update() == 1) bubblelist.remove(&b);
    });
    pf::flip();
    pf::clear();

    joytimer += 1;
    const bool confirmed = confirmPressed(joytimer);
    // A close request must not be trapped here; the menu acts on it next.
    if (confirmed || pf::closeRequested()) return 0;
  }
}
