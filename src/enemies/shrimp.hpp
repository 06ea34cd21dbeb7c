#pragma once
// A five-segment shrimp swimming a curving course down the field. It is hit
// through its drawn segments rather than its collrect.
#include <array>
#include <memory>

#include "enemies/enemybase.hpp"

class shrimp : public enemybase {
 public:
  shrimp();

  static constexpr int kSegments = 5;

  // Body point of each segment; segment 0 is the head at (x, y).
  std::array<float, kSegments> yArray{};
  std::array<float, kSegments> xArray{};
  // Drawn point: the body point plus a small leg wiggle.
  std::array<float, kSegments> xArray2{};
  std::array<float, kSegments> yArray2{};
  // Wiggle phase of each segment.
  std::array<float, kSegments> angle{};
  // Heading in degrees: 0 moves down, 90 right, 180 up.
  float angle2 = 0;
  // Spacing between segments (times size).
  float radius = 5;
  float direction = 0;
  float speed = 1;
  int timer;
  float size = 1;
  // Speed along the heading; negative with a heading near 180 swims down.
  float shrimpVelocity = 0;
  // Course pattern: 1 curves one way, 2 the other, 3 goes straight; others keep the heading.
  int twist = 1;

  // The third value is the heading.
  static std::unique_ptr<shrimp> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  // Touches any of the five 10 by 10 squares centred on the drawn points.
  int checkcollisions(const Rect& r) override;
  int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;

 private:
  // Places the segments behind the head along the heading.
  void layoutSegments();
};
