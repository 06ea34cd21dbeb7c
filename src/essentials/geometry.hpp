#pragma once
// The hit rectangle and the geometric tests every collision and aiming step
// uses.

struct Rect {
  float x = 0, y = 0, w = 0, h = 0;

  static Rect Create(float x, float y, float w, float h) { return Rect{x, y, w, h}; }
  // Fills the rectangle in the current colour, alpha and blend.
  void draw() const;
};

// Rectangle against rectangle; touching edges and corners overlap. Inline:
// every enemy is tested against every shot each frame.
inline int overlaps(const Rect& a, const Rect& b) {
  if (a.x > b.x + b.w) return 0;
  if (a.x + a.w < b.x) return 0;
  if (a.y > b.y + b.h) return 0;
  if (a.y + a.h < b.y) return 0;
  return 1;
}
// Circle against rectangle; strictly closer than the radius hits.
int circleHitsRect(const Rect& r, float cx, float cy, float radius);
// Heading from point 2 toward point 1: 0 when point 1 lies straight below,
// 90 to the left, -90 to the right, -180 straight above.
float angleTo(float x1, float y1, float x2, float y2);
// Signed weighted offset used to rank homing targets by its absolute value.
float aimProjection(float x1, float y1, float x2, float y2);
