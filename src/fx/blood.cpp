#include "fx/blood.hpp"

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "fx/bubble.hpp"
#include "platform/platform.hpp"

// A green between (10, 200, 0) and (50, 255, 0).
blood::blood()
    : ymod(static_cast<float>(Rnd(0.3, 0.8))),
      size(static_cast<float>(Rnd(0.01, 0.6))),
      Alpha(static_cast<float>(Rnd(0.25, 1.7))),
      r(Rand(10, 50)),
      g(Rand(200, 255)),
      timer(Rand(0, 359)) {}

std::unique_ptr<blood> blood::Create(float x, float y) {
  auto c = std::make_unique<blood>();
  c->x = x;
  c->y = y;
  return c;
}

int blood::Update(EntityList<bubble>& bubblelist) {
  timer += 1;
  Alpha -= 0.01f;
  size += 0.01f;
  x = static_cast<float>(x + 0.6 * Sin(timer));
  y -= ymod;
  if (timer % 30 == 0) bubblelist.add(bubble::Create(x, y));
  return Alpha < 0 ? 1 : 0;
}

void blood::paint() const {
  pf::setBlend(pf::kBlendLight);
  pf::setScale(size, size);
  pf::setAlpha(Alpha / 4);
  pf::setColour(r, g, b);
  pf::drawImage(assets.blobImage(), x, y);
}
