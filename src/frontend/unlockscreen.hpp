#pragma once
// The modal screen shown after a run that unlocked a ship: the new ship flies
// on the spot until the player confirms.
#include <array>
#include <memory>

#include "essentials/entity_list.hpp"
#include "fx/bubble.hpp"
#include "ships/playerbase.hpp"

class unlockscreen {
 public:
  int aType = 0;  // the unlocked ship, 1 to 6; 0 means nothing to show
  int joytimer = 0;
  std::array<std::unique_ptr<playerbase>, 6> playerarray;
  EntityList<bubble> bubblelist;

  static std::unique_ptr<unlockscreen> Create(int aType);
  // Runs the screen in its own frame loop until the player confirms (or the
  // window is asked to close); returns 0 at once when there is nothing to show.
  int Do();
};
