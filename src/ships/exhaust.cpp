#include "ships/exhaust.hpp"

#include <limits>

namespace {

constexpr float kFade = 0.03f;
constexpr int kNever = std::numeric_limits<int>::max();

// How many ageing steps a particle of this alpha lives before it has faded;
// kNever for an alpha that fading cannot bring below 0 (not a number, or so
// large that taking the step off leaves it as it is).
int fadeSteps(float alpha) {
  for (int steps = 1;; ++steps) {
    const float next = alpha - kFade;
    if (next < 0) return steps;
    if (!(next < alpha)) return kNever;
    alpha = next;
  }
}

}  // namespace

bullet2D* Exhaust::add(std::unique_ptr<bullet2D> particle) {
  if (particle->alpha != lastAlpha_) {
    lastAlpha_ = particle->alpha;
    lastFadeSteps_ = fadeSteps(particle->alpha);
  }
  particle->agedTo = steps_;
  particle->fadesAt = lastFadeSteps_ == kNever ? kNever : steps_ + lastFadeSteps_;
  return particles_.add(std::move(particle));
}

void Exhaust::ageUndrawn() {
  if (!drawn_) {
    ++steps_;
    // The oldest come first; whatever else retires them, they are gone by now.
    particles_.removeFrontWhile([this](const bullet2D& p) { return p.fadesAt <= steps_; });
  }
  drawn_ = false;
}

void Exhaust::paint() {
  ++steps_;
  particles_.forEach([this](bullet2D& p) { catchUp(p); });
  drawn_ = true;
}

void Exhaust::catchUp(bullet2D& p) {
  while (p.agedTo < steps_) {
    ++p.agedTo;
    p.Update();
    if (p.agedTo == steps_) p.paint();
    p.alpha -= kFade;
    if (p.y < -50 || p.y > 770 || p.alpha < 0) {
      particles_.remove(&p);
      return;
    }
  }
}
