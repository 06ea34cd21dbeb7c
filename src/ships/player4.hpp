#pragma once
// Ship four, "option star": shoots straight up with one button and to both
// sides with the other, drags a chain of option stars (one per power-up, up
// to four) that fire with it, and its "fire bomb" special releases a rising
// wall of fire that parts around the ship.
#include "essentials/entity_list.hpp"
#include "ships/bullet2D.hpp"
#include "ships/exhaust.hpp"
#include "ships/playerbase.hpp"

class player4 : public playerbase {
 public:
  int timer = 0;
  float xvel = 0, yvel = 0;
  float gravity = 0;
  Exhaust playerlist;

  static std::unique_ptr<player4> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() override;

  void fireMainGuns(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
  void lifeLost() override;
  void powerUpCollected() override;
};
