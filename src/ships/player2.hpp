#pragma once
// Ship two, "Straight shooter": forward guns that thicken with the power
// level, and the "Super Laser" special, a pair of growing, swerving beams.
#include "ships/standard_ship.hpp"

class player2 : public standardShip {
 public:
  static std::unique_ptr<player2> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() const override;

  void fireMainGuns(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
  void demonstrate(DemoStage& s) override;

 private:
  // One beam of the Super Laser on the given side (1 right, -1 left).
  std::unique_ptr<bullet> superLaser(float side, float size) const;
};
