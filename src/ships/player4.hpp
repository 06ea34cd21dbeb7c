#pragma once
// Ship four, "option star": shoots straight up with one button and to both
// sides with the other, drags a chain of option stars (one per power-up, up
// to four) that fire with it, and its "fire bomb" special releases a rising
// wall of fire that parts around the ship.
#include "ships/standard_ship.hpp"

class player4 : public standardShip {
 public:
  static std::unique_ptr<player4> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() const override;

  void fireMainGuns(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
  void lifeLost() override;
  void powerUpCollected() override;
  void joinCarousel() override;
  void demonstrate(DemoStage& s) override;
};
