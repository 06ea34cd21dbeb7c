#pragma once
// Ship one, "particle bird": a body drawn entirely from particles whose two
// side streams flap like wings. Shoots left or right by leaning; its power
// missiles launch on their own from power level 3.
#include "essentials/entity_list.hpp"
#include "ships/bullet2D.hpp"
#include "ships/exhaust.hpp"
#include "ships/playerbase.hpp"

class player : public playerbase {
 public:
  float angle = 11;
  float xscale = 1, yscale = 1;
  float xVel = 0, yVel = 0;
  float gravity = 0.3f;
  float ang = 0;
  // It only shows, and ages as it is drawn (see Exhaust).
  mutable Exhaust playerList;
  float timer = 0;
  float angleModifier = 1;

  static std::unique_ptr<player> Create();

  int Update(float dx, float dy, float third, EntityList<bubble>& bubbles) override;
  int paint() const override;

  void fireMainGuns(WeaponContext& w) override;
  void fireAutomatic(WeaponContext& w) override;
  void special(WeaponContext& w, SpecialTrigger trigger) override;
  void demonstrate(DemoStage& s) override;
};
