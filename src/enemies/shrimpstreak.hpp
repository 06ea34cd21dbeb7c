#pragma once
// The streaking shrimp's body: a short trail of points, each circled by a
// glowing segment with a leg and a spine, growing towards the head end.
#include <cstdint>
#include <memory>

#include "essentials/entity_list.hpp"
#include "fx/tpoint.hpp"
#include "platform/image.hpp"

class shrimpstreak {
 public:
  struct position {
    float x = 0, y = 0;
  };

  // Oldest first.
  EntityList<tpoint> PointList;
  // Copy of the newest position (a plain position: a tpoint would draw a
  // random size for nothing).
  position lastpoint;
  int active = 0;
  int Red = 0, Green = 0, Blue = 0;
  float Tint = 0;
  int maxpoints = 5;
  int streakType = 0;
  const pf::Image* image = nullptr;
  int angle = 90;

  static std::unique_ptr<shrimpstreak> Create(float x, float y, int red, int green, int blue);
  // Appends while short of maxpoints (each new point's phase 55 degrees on from
  // the newest), otherwise drops the oldest: the trail alternates between 4 and
  // 5 points.
  void add(float x, float y);
  // Every segment but the oldest point's circles on by 3 degrees; done once
  // per frame, drawn or not, before draw.
  void turnSegments();
  void draw() const;
};
