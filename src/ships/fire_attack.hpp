#pragma once
// Ship four's "fire bomb": a wall of flames rising from the bottom of the
// screen that parts around the ship.
#include <memory>
#include <vector>

#include "essentials/entity_list.hpp"
#include "fx/tpoint.hpp"

class playerbase;

class fireAttack {
 public:
  // Frames since creation.
  float timer = 0;
  // The flames.
  EntityList<tpoint> particles;
  // Energy spent: flames are born while timer is below it.
  int bits = 0;
  // Scale of the white flame cores is size / 5.
  float size;

  fireAttack();
  static std::unique_ptr<fireAttack> Create(int bits);
  // 1 = burnt out.
  int Update(playerbase& ship);
  void paint() const;
  // Each flame's colour for this frame, from drawing's own generator: once
  // per frame, before drawing, whether or not the frame is drawn.
  void updateLooks();

 private:
  struct Flicker {
    int red, green;
  };
  // One per flame, in list order.
  std::vector<Flicker> flicker_;
};
