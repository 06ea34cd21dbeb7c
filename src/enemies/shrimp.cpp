#include "enemies/shrimp.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bubble.hpp"
#include "platform/platform.hpp"

shrimp::shrimp() : timer(Rand(0, 60)) {}

std::unique_ptr<shrimp> shrimp::Create(float x, float y, float third) {
  auto e = std::make_unique<shrimp>();
  e->energy = 1;
  e->x = x;
  e->y = y;
  e->collrect = Rect::Create(0, 0, 0, 0);
  e->angle2 = third;
  e->score = 20;
  for (int i = 0; i < kSegments; ++i) e->angle[i] = static_cast<float>(90 * i);
  // Hits can land before the first Update, so the body needs a place now.
  e->layoutSegments();
  return e;
}

int shrimp::Update(playerbase&, EntityList<enemybase>&) {
  timer += 1;
  y += shrimpVelocity * size * Cos(angle2);
  x += shrimpVelocity * size * Sin(angle2);

  const int t = timer;
  switch (twist) {
    case 1: angle2 = static_cast<float>(180 + 60 * ATan(2 * t) + 30 * Sin(-2 * t)); break;
    case 2: angle2 = static_cast<float>(180 - 60 * ATan(2 * t) - 30 * Sin(-2 * t)); break;
    case 3: angle2 = static_cast<float>(180 + 30 * Sin(-2 * t)); break;
    default: break;
  }

  // The segments wiggle even while the shrimp stands still.
  for (float& phase : angle) {
    phase += 5 * shrimpVelocity;
    if (shrimpVelocity == 0) phase += 1;
  }
  layoutSegments();

  collrect = Rect::Create(x - 5, y - 5, 10, 10);
  if (y > settings.screenheight + 50) return 1;
  return 0;
}

void shrimp::layoutSegments() {
  for (int i = 0; i < kSegments; ++i) {
    xArray[i] = static_cast<float>(x + i * radius * size * Sin(angle2));
    yArray[i] = static_cast<float>(y + i * radius * size * Cos(angle2));
    xArray2[i] = static_cast<float>(xArray[i] + size * Sin(angle[i]));
    yArray2[i] = static_cast<float>(yArray[i] + size * Cos(angle[i]));
  }
}

int shrimp::checkcollisions(const Rect& r) {
  for (int i = 0; i < kSegments; ++i) {
    if (overlaps(Rect::Create(xArray2[i] - 5, yArray2[i] - 5, 10, 10), r)) return 1;
  }
  return 0;
}

int shrimp::addeffects(EntityList<bubble>& bubblelist, EntityList<blood>&) {
  if (timer % 6 == 0) bubblelist.add(bubble::Create(x, y));
  return 0;
}

int shrimp::paint() const {
  const pf::Image& blob = assets.blobImage();
  const float s = size;
  const auto& px = xArray2;
  const auto& py = yArray2;
  const int last = kSegments - 1;

  pf::setBlend(pf::kBlendLight);
  for (int i = 0; i < kSegments; ++i) {
    // Magenta glow growing towards the tail (none on the first two segments).
    const float glow = i == last ? 0.1f * s : (i / 2) * 0.2f * s;
    pf::setColour(200, 0, 100);
    pf::setAlpha(0.8f);
    pf::setScale(glow, glow);
    pf::drawImage(blob, px[i], py[i]);
    pf::setColour(255, 255, 255);
    pf::setScale(0.1f * s, 0.1f * s);
    pf::setAlpha(0.5f);
    pf::drawImage(blob, px[i], py[i]);
  }

  // Antennae: thin streaks along the body, 10 degrees to either side.
  pf::setColour(150, 0, 100);
  pf::setScale(0.05f * s, 0.7f * s);
  pf::setRotation(angleTo(px[1], py[1], px[0], py[0]) + 10);
  pf::drawImage(blob, px[0], py[0]);
  pf::setRotation(angleTo(px[2], py[2], px[0], py[0]) - 10);
  pf::drawImage(blob, px[0], py[0]);

  // Eye.
  pf::setScale(0.15f * s, 0.15f * s);
  pf::setColour(0, 200, 100);
  pf::setAlpha(0.8f);
  pf::drawImage(blob, px[0], py[0]);

  // Legs: a short bar across the body at each segment.
  pf::setColour(150, 0, 100);
  pf::setAlpha(1);
  pf::setScale(0.05f * s, 0.5f * s);
  for (int k = 1; k < kSegments; ++k) {
    pf::setRotation(angleTo(px[k - 1], py[k - 1], px[k], py[k]) + 90);
    pf::drawImage(blob, px[k], py[k]);
  }

  // Tail fan.
  pf::setRotation(angleTo(px[2], py[2], px[last], py[last]));
  pf::drawImage(blob, px[last], py[last]);
  resetDrawState();
  return 0;
}
