#pragma once
// Ship six, "Mystery x": one fire button and no special. Its single shot grows
// heavier and longer with each power level; at full power, while no life has
// been lost, it adds side guns, a rotating four-way spray, a spread pair,
// homing missiles and two sweeping outriggers.
#include "ships/standard_ship.hpp"

class player6 : public standardShip {
 public:
  static std::unique_ptr<player6> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() const override;

  void fireOwnPatterns(WeaponContext& w) override;
  void demonstrate(DemoStage& s) override;
};
