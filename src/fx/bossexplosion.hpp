#pragma once
// The giant crab's death: widening rings of explosions, a scatter of small
// ones, then bubbles and blood; runs 501 frames whatever its children do.
#include <memory>

#include "essentials/entity_list.hpp"
#include "fx/explosionbase.hpp"

class bossexplosion : public explosionbase {
 public:
  int timer = 0;
  EntityList<explosionbase> list;
  float x = 0, y = 0;

  static std::unique_ptr<bossexplosion> Create(float x, float y);
  int Update(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  int paint() const override;
};
