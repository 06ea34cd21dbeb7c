#pragma once
// A jellyfish's tentacle: a chain of points hanging from an anchor, swaying
// and lagging behind the anchor's motion, drawn as a tapering smoothed line.
#include <array>
#include <memory>

// One point of a tentacle, on whole pixels.
class Point {
 public:
  Point();
  int x = 0, y = 0;
  // Sway phase in degrees.
  float angle;
  float ox = 0;
};

class tentacle {
 public:
  // Wave phase, frames.
  int timer = 0;
  // Anchor point, set by the jellyfish every frame.
  float tx = 0, tY = 0;
  float numpoints = 0;
  // Sideways slant per point, which is also the sway amplitude per point.
  float offset = 0;
  // Vertical spacing of the points.
  float offsetY = 0;
  // Anchor of the previous frame.
  float lastX = 0, lasty = 0;
  // Point 0 hangs at the anchor; only the first numpoints exist.
  std::array<std::unique_ptr<Point>, 100> points;

  static std::unique_ptr<tentacle> Create(float x, float y, float offset, float offsetY, int n);
  void update();
  void paint() const;
};
