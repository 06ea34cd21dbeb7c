#include "ships/powerring.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "platform/platform.hpp"

namespace {

constexpr int kSprites = 36;
constexpr double kRadius = 50;

}  // namespace

std::unique_ptr<powerring> powerring::Create(float x, float y) {
  auto p = std::make_unique<powerring>();
  p->x = x;
  p->y = y;
  return p;
}

// Single precision matters: ten steps of 0.1f take life from 1 to just below
// 0, so a ring lasts exactly ten frames.
int powerring::Update(float angle) {
  life -= 0.1f;
  this->angle = angle;
  return life < 0 ? 1 : 0;
}

void powerring::paint() const {
  resetDrawState();
  pf::setAlpha(0.3f * life);
  pf::setColour(255, 100, 0);
  pf::setScale(0.25f, 0.25f);
  pf::setBlend(pf::kBlendLight);
  for (int i = 0; i < kSprites; ++i) {
    const double a = angle + 10 * i;
    pf::drawImage(assets.blobImage(), static_cast<float>(x + kRadius * Cos(a)),
                  static_cast<float>(y + kRadius * Sin(a)));
  }
}
