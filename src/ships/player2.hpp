#pragma once
// Ship two, "Straight shooter": forward guns that thicken with the power
// level, and the "Super Laser" special, a pair of growing, swerving beams.
#include "essentials/entity_list.hpp"
#include "ships/bullet2D.hpp"
#include "ships/exhaust.hpp"
#include "ships/playerbase.hpp"

class player2 : public playerbase {
 public:
  int timer = 0;
  float xvel = 0, yvel = 0;
  float gravity = 0;
  Exhaust playerlist;

  static std::unique_ptr<player2> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() override;

  void fireMainGuns(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
};
