#pragma once
// Ship five, "green snake": trails a twenty-segment snake body, fires homing
// missiles with one button and a weaving double laser with the other, and
// its "damage multiplier" special makes every shot fifteen times as strong
// while it is held.
#include "ships/standard_ship.hpp"

// Its `playerlist` stays empty: this ship leaves no exhaust.
class player5 : public standardShip {
 public:
  static std::unique_ptr<player5> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() const override;

  void fireOwnPatterns(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
  void demonstrate(DemoStage& s) override;
};
