#pragma once
// The modal screen shown after a run that unlocked a ship: the new ship flies
// on the spot until the player confirms.
#include <array>
#include <memory>

#include "essentials/entity_list.hpp"
#include "essentials/settings.hpp"
#include "fx/bubble.hpp"
#include "ships/playerbase.hpp"

class unlockscreen {
 public:
  int aType = 0;  // the unlocked ship's number; 0 means nothing to show
  int joytimer = 0;
  // One ship of each type, in the order of the ship registry.
  std::array<std::unique_ptr<playerbase>, kShipCount> playerarray;
  EntityList<bubble> bubblelist;

  static std::unique_ptr<unlockscreen> Create(int aType);
  // Runs the screen in its own frame loop until the player confirms (or the
  // window is asked to close); returns 0 at once when there is nothing to show.
  int Do();
};
