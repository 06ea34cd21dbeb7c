#pragma once
// A floating pick-up dropped on every 50th kill: "P" raises the weapon power,
// "S" the score multiplier.
#include <memory>

#include "essentials/entity_list.hpp"
#include "essentials/geometry.hpp"
#include "essentials/recycled.hpp"

class explosionbase;

class bonus : public Recycled {
 public:
  float x = 0, y = 0;
  float x2 = 0, y2 = 0;
  int angle = 180;
  int btype = 0;  // 0 power up ("P"), 1 multiplier +1 ("S")
  int t = 0;      // 1 once updated
  Rect collrect;

  // y is limited to at most 350 so a drop low on the screen stays reachable.
  static std::unique_ptr<bonus> Create(float x, float y, int btype);
  int Update(EntityList<explosionbase>& explosionlist);
  int checkcollisions(const Rect& rect) const;
  int paint() const;
};
