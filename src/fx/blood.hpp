#pragma once
// A drifting, growing cloud of green glow that rises, wobbles and fades,
// letting off a bubble now and then.
#include <memory>

#include "essentials/entity_list.hpp"
#include "essentials/recycled.hpp"

class bubble;

class blood : public Recycled {
 public:
  float x = 0, y = 0;
  float ymod;
  float size;
  float Alpha;
  int r;
  int g;
  int b = 0;
  int timer;

  blood();
  static std::unique_ptr<blood> Create(float x, float y);
  // 1 = faded out.
  int Update(EntityList<bubble>& bubblelist);
  void paint() const;
};
