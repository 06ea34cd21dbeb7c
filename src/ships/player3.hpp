#pragma once
// Ship three, "sun spread": a fan of shots that, from power level 4, split in
// flight into a widening spray; its "Shield" special surrounds it with
// burning rings that hurt whatever comes close.
#include "ships/standard_ship.hpp"

class player3 : public standardShip {
 public:
  static std::unique_ptr<player3> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() const override;

  void fireMainGuns(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
  void afterBulletUpdate(bullet& shot, WeaponContext& w) override;
  void demonstrate(DemoStage& s) override;
};
