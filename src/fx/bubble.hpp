#pragma once
// A small rising, wobbling bubble that fades out in about 40 frames.
#include <memory>
#include "essentials/recycled.hpp"

class bubble : public Recycled {
 public:
  float x = 0, y = 0;
  float life = 1;
  float size = 0;
  // Wobble phase, whole degrees.
  int angle;
  float speed;

  bubble();
  static std::unique_ptr<bubble> Create(float x, float y);
  // One frame: rises, wobbles and fades; 1 = gone.
  int Update();
  // One frame as Update, but the move is left for the next paint: a bubble's
  // place only shows, so frames nobody draws need only its fading. The
  // moves are then made in turn, exactly as frame by frame.
  int UpdateUnseen();
  void paint();

 private:
  void rise();
  int fade();
  int pendingRises_ = 0;
};
