#include "ships/missile.hpp"

#include <algorithm>
#include <cmath>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "fx/bubble.hpp"
#include "platform/platform.hpp"

namespace {

constexpr double kThrust = 1.5;
constexpr double kTopSpeed = 12;
constexpr float kTurnStep = 1.4f;
constexpr float kMaxTurn = 16;

}  // namespace

missile::missile() : life(100 + Rand(-50, 50)) {}

std::unique_ptr<missile> missile::Create(float x, float y, float direction) {
  auto m = std::make_unique<missile>();
  m->x = x;
  m->y = y;
  m->Direction = direction;
  m->Done = 0;
  m->collrect = Rect::Create(0, 0, 0, 0);
  m->trail = tstreak::Create(x, y, 255, 255, 255);
  return m;
}

int missile::Update(int tx, int ty) {
  timer += 1;
  streakTimer += 1;
  life -= 1;
  if (drawMissile == 1) trail->add(x, y);
  angle = angleTo(x, y, static_cast<float>(tx), static_cast<float>(ty));

  XS = static_cast<float>(XS + kThrust * Cos(Direction));
  YS = static_cast<float>(YS + kThrust * Sin(Direction));
  const double speed = std::sqrt(static_cast<double>(XS) * XS + static_cast<double>(YS) * YS);
  if (speed > kTopSpeed) {
    XS = static_cast<float>(XS / speed * kTopSpeed);
    YS = static_cast<float>(YS / speed * kTopSpeed);
  }
  x += XS;
  y += YS;

  // Bearing from the missile to the target, 0 to 360.
  const double m = std::fmod(ATan2(y - static_cast<float>(ty), x - static_cast<float>(tx)) + 180, 360);
  const double o = std::abs(m - Direction);
  // Turn the shorter way round: across 0 when the gap is over half a turn.
  if (m < Direction) TurnSpeed += o > 180 ? kTurnStep : -kTurnStep;
  if (m > Direction) TurnSpeed += o > 180 ? -kTurnStep : kTurnStep;
  if (o < 1) TurnSpeed = 0;
  TurnSpeed = std::clamp(TurnSpeed, -kMaxTurn, kMaxTurn);
  Direction = std::fmod(Direction + TurnSpeed + 360, 360.0f);

  collrect = Rect::Create(x - 10, y - 10, 20, 20);
  return life < 1 ? 1 : 0;
}

void missile::addeffects(EntityList<bubble>& bubblelist) {
  if (timer % 4 == 0) bubblelist.add(bubble::Create(x, y));
}

void missile::draw() const {
  resetDrawState();
  trail->draw();
  resetDrawState();
  if (drawMissile != 1) return;
  // A white-hot core in a coloured glow.
  pf::setScale(0.5f, 0.5f);
  pf::setColour(red, green, blue);
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.8f);
  pf::drawImage(assets.blobImage(), x, y);
  pf::setAlpha(1);
  pf::setScale(0.2f, 0.2f);
  pf::setColour(255, 255, 255);
  pf::drawImage(assets.blobImage(), x, y);
}
