#include "ships/ship_registry.hpp"

#include <array>

#include "ships/player.hpp"
#include "ships/player2.hpp"
#include "ships/player3.hpp"
#include "ships/player4.hpp"
#include "ships/player5.hpp"
#include "ships/player6.hpp"

namespace {

template <class Ship>
std::unique_ptr<playerbase> make() {
  return Ship::Create();
}

using S = Settings;
constexpr std::array<ShipEntry, kShipCount> kShips = {{
    {1, make<player>, ShipUnlock::Always, nullptr, &S::ship1perfect, "ship: particle bird", nullptr, "Shoot straight",
     false},
    {2, make<player2>, ShipUnlock::CompletingPrevious, &S::ship2, &S::ship2perfect, "ship: straight shooter", &S::ship2,
     nullptr, false},
    {3, make<player3>, ShipUnlock::CompletingPrevious, &S::ship3, &S::ship3perfect, "ship: sun spread", &S::ship3,
     nullptr, false},
    {4, make<player4>, ShipUnlock::CompletingPrevious, &S::ship4, &S::ship4perfect, "ship: option star", &S::ship4,
     nullptr, false},
    {5, make<player5>, ShipUnlock::CompletingPrevious, &S::ship5, &S::ship5perfect, "ship: green snake", &S::ship5,
     nullptr, false},
    // Named on the scores screen once ship five is unlocked, before it is itself.
    {6, make<player6>, ShipUnlock::PerfectBefore, &S::ship6, &S::ship6perfect, "ship: Mystery x", &S::ship5, nullptr,
     true},
}};

// Only the first ship is always unlocked: `program.shipUnlocked` holds the others.
constexpr bool onlyFirstAlways() {
  for (size_t i = 0; i < kShips.size(); ++i) {
    if ((kShips[i].unlock == ShipUnlock::Always) != (i == 0)) return false;
    if ((kShips[i].unlocked == nullptr) != (i == 0)) return false;
  }
  return true;
}
static_assert(onlyFirstAlways());

// The ship after `ship` in the table, or null for the last.
const ShipEntry* next(const ShipEntry& ship) {
  const ShipEntry* after = &ship + 1;
  return after == kShips.data() + kShips.size() ? nullptr : after;
}

// Every ship before `ship` has had a perfect run.
bool perfectBefore(const ShipEntry& ship) {
  for (const ShipEntry* s = kShips.data(); s != &ship; ++s) {
    if (settings.*(s->perfect) != 1) return false;
  }
  return true;
}

}  // namespace

std::span<const ShipEntry> shipRegistry() { return kShips; }

size_t shipIndex(const ShipEntry& ship) { return static_cast<size_t>(&ship - kShips.data()); }

const ShipEntry* findShip(int playertype) {
  for (const ShipEntry& ship : kShips) {
    if (ship.playertype == playertype) return &ship;
  }
  return nullptr;
}

std::unique_ptr<playerbase> createShip(int playertype) {
  const ShipEntry* ship = findShip(playertype);
  return ship != nullptr ? ship->create() : nullptr;
}

bool shipIsUnlocked(const ShipEntry& ship) { return ship.unlocked == nullptr || settings.*(ship.unlocked) == 1; }

bool shipCompleted(const ShipEntry& ship) {
  const ShipEntry* after = next(ship);
  return settings.*((after != nullptr ? *after : ship).unlocked) == 1;
}

void syncShipUnlocks() {
  for (size_t i = 1; i < kShips.size(); ++i) program.shipUnlocked[i - 1] = settings.*(kShips[i].unlocked);
}

int bookShipUnlocks(int playertype, bool completed, bool perfect) {
  const ShipEntry* flown = findShip(playertype);
  int unlock = 0;
  if (flown != nullptr && completed) {
    const ShipEntry* after = next(*flown);
    if (after != nullptr && after->unlock == ShipUnlock::CompletingPrevious) {
      int& flag = settings.*(after->unlocked);
      if (flag == 0) unlock = after->playertype;
      flag = 1;
    }
    if (perfect) settings.*(flown->perfect) = 1;
  }
  for (const ShipEntry& ship : kShips) {
    if (ship.unlock != ShipUnlock::PerfectBefore || !perfectBefore(ship)) continue;
    int& flag = settings.*(ship.unlocked);
    if (flag == 0) unlock = ship.playertype;
    flag = 1;
  }
  return unlock;
}

bool allShipsPerfect() {
  for (const ShipEntry& ship : kShips) {
    if (settings.*(ship.perfect) != 1) return false;
  }
  return true;
}
