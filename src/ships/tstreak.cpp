#include "ships/tstreak.hpp"

#include "essentials/draw_helpers.hpp"
#include "platform/platform.hpp"

std::unique_ptr<tstreak> tstreak::Create(float x, float y, int red, int green, int blue) {
  auto s = std::make_unique<tstreak>();
  s->PointList.add(tpoint::Create(x, y));
  s->lastpoint = position{x, y};
  s->active = 1;
  s->Red = red;
  s->Green = green;
  s->Blue = blue;
  s->Tint = 1.0f / static_cast<float>(s->maxpoints);
  return s;
}

void tstreak::add(float x, float y) {
  if (PointList.size() < static_cast<std::size_t>(maxpoints)) {
    PointList.add(tpoint::Create(x, y));
    lastpoint = position{x, y};
  } else {
    PointList.remove(PointList.first());
  }
}

void tstreak::draw() {
  if (PointList.size() < 2) return;
  pf::setColour(Red, Green, Blue);
  float alpha = 0;
  int index = 0;
  const tpoint* previous = nullptr;
  PointList.forEach([&](tpoint& p) {
    if (previous != nullptr) {
      pf::setAlpha(alpha);
      pf::enableLineSmoothing();
      pf::setLineWidth(fat == 0 ? 2.0f : 3.0f * static_cast<float>(index));
      pf::drawLine(previous->x, previous->y, p.x, p.y);
    }
    // Faintest at the tail, brighter towards the head.
    alpha += Tint;
    previous = &p;
    ++index;
  });
  resetDrawState();
}
