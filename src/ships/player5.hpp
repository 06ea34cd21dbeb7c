#pragma once
// Ship five, "green snake": trails a twenty-segment snake body, fires homing
// missiles with one button and a weaving double laser with the other, and
// its "damage multiplier" special makes every shot fifteen times as strong
// while it is held.
#include "essentials/entity_list.hpp"
#include "ships/bullet2D.hpp"
#include "ships/exhaust.hpp"
#include "ships/playerbase.hpp"

class player5 : public playerbase {
 public:
  int timer = 0;
  float xvel = 0, yvel = 0;
  float gravity = 0;
  // Stays empty: this ship leaves no exhaust.
  Exhaust playerlist;

  static std::unique_ptr<player5> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() override;

  void fireOwnPatterns(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
};
