#pragma once
// A large, slow spiral shell that keeps releasing streaking shrimp while it
// drifts down the upper field and bursts into fifty of them when killed.
#include <memory>

#include "enemies/enemybase.hpp"

class hermitshell : public enemybase {
 public:
  // Phase, +2 per frame.
  float timer = 0;
  // Frame counter.
  int angle = 0;
  // Swaying drawn centre x.
  float x2 = 0;
  float y2 = 0;

  static std::unique_ptr<hermitshell> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  // The killing hit releases fifty shrimp and fifty bubbles; later hits
  // still report death but release nothing more.
  int damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>& enemylist,
             EntityList<explosionbase>& explosionlist) override;
};
