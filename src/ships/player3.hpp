#pragma once
// Ship three, "sun spread": a fan of shots that, from power level 4, split in
// flight into a widening spray; its "Shield" special surrounds it with
// burning rings that hurt whatever comes close.
#include "essentials/entity_list.hpp"
#include "ships/bullet2D.hpp"
#include "ships/exhaust.hpp"
#include "ships/playerbase.hpp"

class player3 : public playerbase {
 public:
  int timer = 0;
  float xvel = 0, yvel = 0;
  float gravity = 0;
  Exhaust playerlist;

  static std::unique_ptr<player3> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() override;

  void fireMainGuns(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
  void afterBulletUpdate(bullet& shot, WeaponContext& w) override;
};
