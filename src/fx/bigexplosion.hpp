#pragma once
// A chain of small white explosions walking along a list of points, one every
// second frame; the creator fills `pointlist` after Create.
#include <memory>

#include "essentials/entity_list.hpp"
#include "fx/explosion.hpp"
#include "fx/explosionbase.hpp"
#include "fx/tpoint.hpp"

class bigexplosion : public explosionbase {
 public:
  EntityList<tpoint> pointlist;
  int timer = 0;
  EntityList<explosion> list;

  // Takes the arguments every explosion kind takes and ignores them.
  static std::unique_ptr<bigexplosion> Create(float x, float y, int r, int g, int b, int n, float size, int mini,
                                              float texoffsetx, float texoffsety, int longlife);
  int Update(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  int paint() const override;
};

// A large creature's death at (x, y): a flash close by and a chain along
// fifteen points scattered round it, each `stepY` further down than the last.
void addChainedDeath(EntityList<explosionbase>& explosionlist, float x, float y, float stepY);
