#include "fx/bubble.hpp"

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

bubble::bubble() : angle(Rand(0, 359)), speed(static_cast<float>(Rnd(1, 3))) {}

std::unique_ptr<bubble> bubble::Create(float x, float y) {
  auto b = std::make_unique<bubble>();
  b->x = x;
  b->y = y;
  b->size = static_cast<float>(Rnd(0.05, 0.15));
  return b;
}

int bubble::Update() {
  rise();
  return fade();
}

int bubble::UpdateUnseen() {
  ++pendingRises_;
  return fade();
}

void bubble::rise() const {
  angle = static_cast<int>(static_cast<float>(angle) + 5 * speed);
  x = static_cast<float>(x + speed * Sin(angle));
  y -= speed / 2;
}

int bubble::fade() {
  life -= 0.025f;
  return life > 0 ? 0 : 1;
}

void bubble::paint() const {
  for (; pendingRises_ > 0; --pendingRises_) rise();
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(life);
  pf::setScale(size, size);
  pf::setColour(0, 150, 255);
  pf::drawImage(assets.blobImage(), x, y);
}
