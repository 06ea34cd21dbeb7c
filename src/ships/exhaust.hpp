#pragma once
// A ship's exhaust: particles that only show. They age as they are drawn:
// each is advanced, drawn, faded and retired once faded or off the field.
// A ship that is not drawn between two Updates (a locked ship in the
// carousel, every frame of a simulated run) still ages its exhaust, but
// lazily: the steps are counted and each particle takes its own when it is
// next drawn, one by one and in order, exactly as it would have every frame.
// Particles that fade meanwhile go without a step: their fading is known in
// advance, so the list stays as short as a drawn ship's.
#include <cstddef>
#include <memory>

#include "essentials/entity_list.hpp"
#include "ships/bullet2D.hpp"

class Exhaust {
 public:
  bullet2D* add(std::unique_ptr<bullet2D> particle);
  // At the start of the ship's Update: one step of ageing when the ship was
  // not drawn since the last.
  void ageUndrawn();
  // While the ship is drawn: one step of ageing, drawing each particle.
  void paint();
  std::size_t size() const { return particles_.size(); }

 private:
  // Takes a particle's pending steps, drawing it in the last one.
  void catchUp(bullet2D& p);

  EntityList<bullet2D> particles_;
  int steps_ = 0;  // ageing steps taken so far
  bool drawn_ = true;
  // The fading of the last particle added, reused while the alphas repeat.
  float lastAlpha_ = -1;
  int lastFadeSteps_ = 0;
};
