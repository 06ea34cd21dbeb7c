#pragma once
// The six ships in one table: how each is made, its settings fields, what
// unlocks it and how the scores screen names it. The session, the selection
// carousel and its panels, the scores screen, the unlock screen, the
// aftermath's unlock and perfect rules and start-up all walk this table, so
// a new ship is a new row here, its class and its settings columns.
#include <memory>
#include <span>

#include "essentials/settings.hpp"
#include "ships/playerbase.hpp"

enum class ShipUnlock {
  Always,              // flown from the first start
  CompletingPrevious,  // completing the level with the ship before it
  PerfectBefore,       // perfect runs with every ship before it, whatever the run that brings it
};

struct ShipEntry {
  int playertype;
  std::unique_ptr<playerbase> (*create)();
  ShipUnlock unlock;
  int Settings::*unlocked;  // null for a ship that is always unlocked
  int Settings::*perfect;
  // The scores screen's name line, and the flag that reveals it (null:
  // always shown).
  const char* statsName;
  int Settings::*namedWhen;
  // The selection panel's extra control line for holding both fire buttons
  // (null: none).
  const char* bothButtons;
  // "go hyper" and "power-ups?" are earned with this ship.
  bool hyperAchievements;
};

std::span<const ShipEntry> shipRegistry();
// Where a ship is in the table (0 for the first).
size_t shipIndex(const ShipEntry& ship);
// The entry of a ship number; null when there is no such ship.
const ShipEntry* findShip(int playertype);
// A new ship of that number, or null when there is none.
std::unique_ptr<playerbase> createShip(int playertype);

bool shipIsUnlocked(const ShipEntry& ship);
// Whether the scores screen's "completed game" shows yes: the level was
// completed with it, as the next ship's unlock records (the last ship reads
// its own).
bool shipCompleted(const ShipEntry& ship);
// Copies the unlock settings into `program.shipUnlocked`.
void syncShipUnlocks();

// Books a finished run's unlocks and perfect flag in the settings. Returns
// the number of the ship whose unlock screen is due, 0 for none (at most one:
// a ship unlocked by perfect runs replaces an earlier one).
int bookShipUnlocks(int playertype, bool completed, bool perfect);
// Every ship has had a perfect run.
bool allShipsPerfect();
