#include "enemies/shrimp2.hpp"

#include <cmath>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bubble.hpp"
#include "platform/platform.hpp"

shrimp2::shrimp2() : life(500 + Rand(-100, 100)), targetX(Rand(125, 675)) {}
shrimp2::~shrimp2() = default;

std::unique_ptr<shrimp2> shrimp2::Create(float x, float y, float third) {
  auto e = std::make_unique<shrimp2>();
  e->x = x;
  e->y = y;
  e->Direction = third;
  e->Done = 0;
  e->score = 20;
  e->wholeEnergy = 1;
  e->collrect = Rect::Create(0, 0, 0, 0);
  e->trail = shrimpstreak::Create(x, y, 255, 255, 0);
  return e;
}

int shrimp2::Update(playerbase&, EntityList<enemybase>&) {
  streakTimer += 1;
  trail->add(x, y);

  // Slow thrust along the heading, the speed capped at 4.
  XS += static_cast<float>(0.2 * Cos(Direction));
  YS += static_cast<float>(0.2 * Sin(Direction));
  const float speedNow = std::sqrt(XS * XS + YS * YS);
  if (speedNow > 4) {
    XS = XS / speedNow * 4;
    YS = YS / speedNow * 4;
  }
  x += XS;
  y += YS;

  // Turn towards the target the short way round, faster the longer it turns.
  const float bearing = static_cast<float>(std::fmod(ATan2(y - targetY, x - targetX) + 180, 360.0));
  const float off = std::fabs(bearing - Direction);
  if (bearing < Direction) {
    TurnSpeed += off > 180 ? 0.25f : -0.25f;
  } else if (bearing > Direction) {
    TurnSpeed += off > 180 ? -0.25f : 0.25f;
  }
  if (off < 1) TurnSpeed = 0;
  if (TurnSpeed > 3) TurnSpeed = 3;
  if (TurnSpeed < -3) TurnSpeed = -3;
  Direction = std::fmod(Direction + TurnSpeed + 360, 360.0f);

  collrect = Rect::Create(x - 5, y - 5, 10, 10);
  if (y > settings.screenheight + 50) return 1;
  return 0;
}

int shrimp2::dodge(EntityList<enemybase>& enemylist) {
  enemylist.forEach([&](enemybase& other) {
    if (&other == this || overlaps(other.collrect, collrect) != 1) return;
    const bool right = other.x > x;
    const bool below = other.y >= y;
    if (right && below) {
      Direction -= 10;
      XS -= 0.75f;
      YS -= 0.75f;
    } else if (right) {
      Direction += 10;
      XS -= 0.75f;
      YS += 0.75f;
    } else if (below) {
      Direction += 10;
      XS += 0.75f;
      YS -= 0.75f;
    } else {
      Direction -= 10;
      XS += 0.75f;
      YS += 0.75f;
    }
  });
  return 0;
}

int shrimp2::addeffects(EntityList<bubble>& bubblelist, EntityList<blood>&) {
  if (streakTimer % 4 == 0) bubblelist.add(bubble::Create(x, y));
  return 0;
}

void shrimp2::updateLooks() {
  angle2 += 10;
  trail->turnSegments();
}

int shrimp2::paint() const {
  const pf::Image& blob = assets.blobImage();
  trail->draw();
  pf::setScale(0.175f, 0.175f);
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.8f);
  pf::setColour(255, 0, 0);
  pf::drawImage(blob, x, y);
  // Two feelers in a waving V.
  pf::setColour(119, 255, 151);
  pf::setScale(0.05f, 0.5f);
  const float wave = static_cast<float>(10 * Sin(angle2));
  pf::setRotation(Direction + 80 + wave);
  pf::drawImage(blob, x, y);
  pf::setRotation(Direction + 100 + wave);
  pf::drawImage(blob, x, y);
  resetDrawState();
  return 0;
}
