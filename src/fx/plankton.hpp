#pragma once
// A glowing speck that sinks forever while looping sideways, re-entering from
// above once it has sunk 100 pixels below the screen.
#include <memory>

class plankton {
 public:
  // Centre of the loop.
  float x = 0, y = 0;
  // Drawn position.
  float x2 = 0, y2 = 0;
  float angle;
  float speed;
  // 1 = draw the blue halo as well as the speck.
  int big = 1;
  int r = 0, g = 100, b = 200;
  float size = 3.2f;
  float alphadiv = 1;

  plankton();
  static std::unique_ptr<plankton> Create(float x, float y);
  int update();
  void paint() const;
};
