#pragma once
// What ships two to six add to `playerbase`, in their order: a frame clock,
// the velocity, the friction step and the exhaust; and the opening of their
// frame, which moves the ship the same way for all of them.
#include "essentials/entity_list.hpp"
#include "ships/exhaust.hpp"
#include "ships/playerbase.hpp"

class standardShip : public playerbase {
 public:
  int timer = 0;
  float xvel = 0, yvel = 0;
  float gravity = 0;
  // It only shows, and ages as it is drawn (see Exhaust).
  mutable Exhaust playerlist;

 protected:
  // Ages the undrawn exhaust, counts the frame, pulls the tail (if the ship
  // has one) and moves the ship within the given speed limits.
  void startFrame(float dx, float dy, float limitX, float limitY, EntityList<bubble>& bubbles);
  // The whole opening of a ship with a single fire button: moved at the usual
  // speed limits, the button read, the small hit box above the centre.
  void startSingleButtonFrame(float dx, float dy, EntityList<bubble>& bubbles);
};
