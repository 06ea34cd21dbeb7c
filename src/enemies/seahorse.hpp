#pragma once
// A large, tough seahorse crossing the upper field sideways while its body
// circles its drifting centre; it blows bubbles from its snout and fires
// yellow fans of five bullets at the ship.
#include <memory>

#include "enemies/enemybase.hpp"

class seahorse : public enemybase {
 public:
  // Body orientation: 330 moving left, -330 moving right.
  float angle = 0;
  // Tail-curl phase, +1 per frame.
  float curl = 0;
  int timer = 0;
  // 1 moving left, -1 moving right; mirrors the body.
  int facing = 1;
  // Drawn centre, circling (x, y) at radius 50.
  float x2 = 0, y2 = 0;
  // Side of entry: 0 enters on the right and swims left, 1 the other way.
  int lr = 0;

  static std::unique_ptr<seahorse> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  int makeexplosions(EntityList<explosionbase>& explosionlist) override;
  // Its death bubbles pour from round the snout.
  int damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>& enemylist,
             EntityList<explosionbase>& explosionlist) override;

  struct point {
    float x = 0, y = 0;
  };
  // The tip of the snout: where shots, bubbles and the death effects come from.
  point snout() const;

 private:
  // 1 for a seahorse swimming left, -1 for its mirror image: flips the fixed
  // offsets of the body's angles (the wobble terms keep their signs).
  int side() const { return lr == 0 ? 1 : -1; }
};
