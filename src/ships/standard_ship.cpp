#include "ships/standard_ship.hpp"

#include "ships/ship_motion.hpp"

void standardShip::startFrame(float dx, float dy, float limitX, float limitY, EntityList<bubble>& bubbles) {
  playerlist.ageUndrawn();
  timer += 1;
  followShip(*this);
  moveShip(*this, ShipVelocity{xvel, yvel}, gravity, dx, dy, limitX, limitY, timer, bubbles);
}

void standardShip::startSingleButtonFrame(float dx, float dy, EntityList<bubble>& bubbles) {
  startFrame(dx, dy, 3.5f, 3.5f, bubbles);
  readSingleFireButton(*this);
  collrect = Rect{x - 2, y - 10, 4, 4};
}
