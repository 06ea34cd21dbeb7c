#pragma once
// An explosion: a wobbling central glow and a burst of sparks.
#include <memory>

#include "essentials/entity_list.hpp"
#include "fx/explosionbase.hpp"
#include "fx/glsprite.hpp"

class explosion : public explosionbase {
 public:
  // Phase of the glow's sideways wobble.
  int timer;
  float x = 0, y = 0;
  // The glow's alpha is life / 8.
  float life = 1;
  float ymov = 0;
  // 0 = big (50 sparks, glow at scale 3), otherwise small (10 sparks, scale 1).
  int mini = 0;
  int drawblob = 1;

  explosion();
  // n is accepted and unused; longlife 1 doubles the life of a big one's sparks.
  static std::unique_ptr<explosion> Create(float x, float y, int r, int g, int b, int n, float size, int mini,
                                           float texoffsetx, float texoffsety, int longlife);
  int Update(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  int paint() const override;
  // The sparks, brought up to date.
  EntityList<glsprite>& sparks() const;

 private:
  // Sparks only show, so they move when they are next drawn or looked at: a
  // frame nobody draws costs them nothing, and a drawn one plays each of its
  // frames' steps in turn, exactly as if it had run every frame. They all
  // start with the same life and lose the same each frame, so they all die
  // in the same frame, which sparkLife_ tells without them. Their places
  // only show, so drawing may bring them up to date.
  void catchUpSparks() const;
  mutable EntityList<glsprite> sparks_;
  float sparkLife_ = 0;
  mutable int pendingSparkSteps_ = 0;
};
