#include "enemies/shrimpstreak.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/geometry.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

std::unique_ptr<shrimpstreak> shrimpstreak::Create(float x, float y, int red, int green, int blue) {
  auto s = std::make_unique<shrimpstreak>();
  s->PointList.add(tpoint::Create(x, y));
  s->lastpoint = position{x, y};
  s->active = 1;
  s->Red = red;
  s->Green = green;
  s->Blue = blue;
  s->Tint = 1.0f / static_cast<float>(s->maxpoints);
  return s;
}

void shrimpstreak::add(float x, float y) {
  if (PointList.size() < static_cast<std::size_t>(maxpoints)) {
    const float phase = PointList.last()->angle + 55;
    PointList.add(tpoint::Create(x, y))->angle = phase;
    lastpoint = position{x, y};
  } else {
    PointList.remove(PointList.first());
  }
}

void shrimpstreak::turnSegments() {
  if (PointList.size() < 2) return;
  const tpoint* oldest = PointList.first();
  PointList.forEach([&](tpoint& p) {
    if (&p != oldest) p.angle += 3;
  });
}

void shrimpstreak::draw() const {
  if (PointList.empty()) return;
  if (PointList.size() == 1) {
    resetDrawState();
    return;
  }
  const pf::Image& blob = assets.blobImage();
  const tpoint* oldest = PointList.first();
  const tpoint* previous = oldest;
  const tpoint* beforePrevious = oldest;
  int k = 1;
  PointList.forEach([&](const tpoint& p) {
    if (&p == oldest) return;
    k += 1;
    // Each segment circles its point.
    const float qx = static_cast<float>(p.x + 2 * Sin(p.angle));
    const float qy = static_cast<float>(p.y + 2 * Cos(p.angle));
    pf::setScale(0.035f * k, 0.035f * k);
    pf::setBlend(pf::kBlendLight);
    pf::setAlpha(0.3f);
    pf::setColour(119, 255, 151);
    pf::drawImage(blob, qx, qy);
    pf::setScale(0.05f, 0.05f);
    pf::setAlpha(0.8f);
    pf::setColour(255, 255, 255);
    pf::drawImage(blob, qx, qy);

    k += 1;
    pf::setColour(50, 255, 0);
    pf::setScale(0.05f, 0.06f * k);
    pf::setRotation(angleTo(qx, qy, beforePrevious->x, beforePrevious->y) - 90);
    pf::drawImage(blob, qx, qy);

    pf::setScale(0.05f, 0.5f);
    pf::setRotation(angleTo(p.x, p.y, previous->x, previous->y));
    pf::drawImage(blob, qx, qy);

    beforePrevious = previous;
    previous = &p;
  });
  resetDrawState();
}
