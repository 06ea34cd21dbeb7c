#include "ships/tstreak.hpp"

#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

std::unique_ptr<tstreak> tstreak::Create(float x, float y, int red, int green, int blue) {
  auto s = std::make_unique<tstreak>();
  s->append(x, y);
  s->lastpoint = position{x, y};
  s->active = 1;
  s->Red = red;
  s->Green = green;
  s->Blue = blue;
  s->Tint = 1.0f / static_cast<float>(maxpoints);
  return s;
}

void tstreak::append(float x, float y) {
  // Every point draws the size a trail point (`tpoint`) is born with, unused
  // by the lines, so the run's random numbers fall as they always have.
  Rnd(0.9, 2.3);
  points_[static_cast<std::size_t>((first_ + count_) % maxpoints)] = position{x, y};
  ++count_;
}

void tstreak::add(float x, float y) {
  if (count_ < maxpoints) {
    append(x, y);
    lastpoint = position{x, y};
  } else {
    first_ = (first_ + 1) % maxpoints;
    --count_;
  }
}

void tstreak::draw() const {
  if (count_ < 2) return;
  pf::setColour(Red, Green, Blue);
  float alpha = 0;
  const position* previous = nullptr;
  for (int index = 0; index < count_; ++index) {
    const position& p = points_[static_cast<std::size_t>((first_ + index) % maxpoints)];
    if (previous != nullptr) {
      pf::setAlpha(alpha);
      pf::enableLineSmoothing();
      pf::setLineWidth(fat == 0 ? 2.0f : 3.0f * static_cast<float>(index));
      pf::drawLine(previous->x, previous->y, p.x, p.y);
    }
    // Faintest at the tail, brighter towards the head.
    alpha += Tint;
    previous = &p;
  }
  resetDrawState();
}
