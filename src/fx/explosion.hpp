#pragma once
// An explosion: a wobbling central glow and a burst of sparks.
#include <memory>

#include "essentials/entity_list.hpp"
#include "fx/explosionbase.hpp"
#include "fx/glsprite.hpp"

class explosion : public explosionbase {
 public:
  // Phase of the glow's sideways wobble.
  int timer;
  float x = 0, y = 0;
  // The glow's alpha is life / 8.
  float life = 1;
  float ymov = 0;
  EntityList<glsprite> list;
  // 0 = big (50 sparks, glow at scale 3), otherwise small (10 sparks, scale 1).
  int mini = 0;
  int drawblob = 1;

  explosion();
  // n is accepted and unused; longlife 1 doubles the life of a big one's sparks.
  static std::unique_ptr<explosion> Create(float x, float y, int r, int g, int b, int n, float size, int mini,
                                           float texoffsetx, float texoffsety, int longlife);
  int Update(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  int paint() override;
};
