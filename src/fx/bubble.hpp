#pragma once
// A small rising, wobbling bubble that fades out in about 40 frames.
#include <memory>
#include "essentials/recycled.hpp"

// A bubble's place only shows: drawing may bring it up to date (see
// UpdateUnseen), so the fields of its motion may change while it is drawn.
class bubble : public Recycled {
 public:
  mutable float x = 0, y = 0;
  float life = 1;
  float size = 0;
  // Wobble phase, whole degrees.
  mutable int angle;
  float speed;

  bubble();
  static std::unique_ptr<bubble> Create(float x, float y);
  // One frame: rises, wobbles and fades; 1 = gone.
  int Update();
  // One frame as Update, but the move is left for the next paint: a bubble's
  // place only shows, so frames nobody draws need only its fading. The
  // moves are then made in turn, exactly as frame by frame.
  int UpdateUnseen();
  void paint() const;

 private:
  void rise() const;
  int fade();
  mutable int pendingRises_ = 0;
};
