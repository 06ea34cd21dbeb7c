#pragma once
// Ship six, "Mystery x": one fire button and no special. Its single shot grows
// heavier and longer with each power level; at full power, while no life has
// been lost, it adds side guns, a rotating four-way spray, a spread pair,
// homing missiles and two sweeping outriggers.
#include "essentials/entity_list.hpp"
#include "ships/bullet2D.hpp"
#include "ships/exhaust.hpp"
#include "ships/playerbase.hpp"

class player6 : public playerbase {
 public:
  int timer = 0;
  float xvel = 0, yvel = 0;
  float gravity = 0;
  Exhaust playerlist;

  static std::unique_ptr<player6> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() override;

  void fireOwnPatterns(WeaponContext& w) override;
};
