#pragma once
// A link of a trailing chain: it keeps `Length` pixels behind the point it
// follows, and carries a small circling point (x2, y2) used for drawing.
// Chains of these form the eel's body and the tails of ships four and five.
#include <memory>

class TailPoint {
 public:
  float x = 0, y = 0;
  float x2 = 0, y2 = 0;
  float rot;
  int head = 0;
  float Length = 10;
  float Angle = 0;

  TailPoint();
  // The colour arguments are accepted but not kept.
  static std::unique_ptr<TailPoint> Create(float x, float y, int red, int green, int blue);
  // Pulls the link onto the line to its leader, `Length` behind it.
  void Update(float leaderX, float leaderY);
};
