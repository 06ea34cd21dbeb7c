#pragma once
// What the explosion list knows of every explosion kind.
#include "essentials/entity_list.hpp"
#include "essentials/recycled.hpp"

class bubble;
class blood;

class explosionbase : public Recycled {
 public:
  virtual ~explosionbase();

  // 1 for the boss's death explosion (the session keeps at most one).
  int isboss = 0;

  // One frame; 1 = finished.
  virtual int Update(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) = 0;
  virtual int paint() const = 0;
};
