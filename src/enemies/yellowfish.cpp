#include "enemies/yellowfish.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bubble.hpp"
#include "platform/platform.hpp"

yellowfish::yellowfish()
    : angle2(static_cast<float>(Rand(0, 359))), timer(Rand(0, 359)), rnum(static_cast<float>(Rnd(1.5, 3))) {}

std::unique_ptr<yellowfish> yellowfish::Create(float x, float y, float) {
  auto e = std::make_unique<yellowfish>();
  e->x = x;
  e->y = y;
  e->score = 20;
  e->energy = 2;
  e->collrect = Rect::Create(0, 0, 0, 0);
  return e;
}

int yellowfish::Update(playerbase&, EntityList<enemybase>&) {
  timer += 1;
  const int t = timer;
  // The speed pulses around about -rnum.
  vel = static_cast<float>(0.5 * vel * Sin(t) - rnum);
  angle = static_cast<int>(angle + 5 * vel);
  angle2 = static_cast<float>(180 + 10 * vel * Sin(-2 * t));
  dir = -(angle2 + 180);
  y += vel * Cos(angle2) + 0.1 * Sin(t);
  x += vel * Sin(angle2) + 0.3 * Sin(t);
  collrect = Rect::Create(x - 5, y - 5, 10, 10);
  if (y > settings.screenheight + 20) return 1;
  return 0;
}

int yellowfish::addeffects(EntityList<bubble>& bubblelist, EntityList<blood>&) {
  if (timer % 4 == 0) bubblelist.add(bubble::Create(x, y));
  return 0;
}

int yellowfish::paint() const {
  const pf::Image& blob = assets.blobImage();
  resetDrawState();
  pf::setBlend(pf::kBlendLight);
  pf::setAlpha(0.3f);

  // Pectoral fins, beating with the tail.
  const float f1x = static_cast<float>(x + 6 * Cos(135 + dir + 20 * Sin(angle + 90)));
  const float f1y = static_cast<float>(y + 10 * Sin(135 + dir));
  const float f2x = static_cast<float>(x + 6 * Cos(45 + dir + 20 * Sin(angle)));
  const float f2y = static_cast<float>(y + 10 * Sin(45 + dir));
  pf::setColour(255, 0, 100);
  pf::setScale(0.2f, 0.2f);
  pf::drawImage(blob, f1x, f1y);
  pf::drawImage(blob, f2x, f2y);
  pf::setColour(255, 255, 255);
  pf::setScale(0.05f, 0.05f);
  pf::drawImage(blob, f1x, f1y);
  pf::drawImage(blob, f2x, f2y);

  // Body from the head back: the spine bends with the tail beat and the
  // spacing grows with the square of the index.
  for (int i = 0; i <= 5; ++i) {
    const double wave = 1.1 * i * Sin(angle + 60 * i);
    const float bx = static_cast<float>(x + 5 * i * Sin(dir) + wave);
    const float by = static_cast<float>(y - i * i * Cos(dir));
    pf::setColour(255, 255, 255);
    pf::setScale(0.075f, 0.075f);
    pf::setAlpha(0.8f);
    pf::drawImage(blob, bx, by);
    pf::setColour(255, 255, 0);
    const float bodyScale = 0.23f + 0.03f * (6 - i);
    pf::setScale(bodyScale, bodyScale);
    pf::setAlpha(0.2f);
    pf::drawImage(blob, bx, by);

    if (i == 2) {
      // Tail fins fanning out to both sides and flapping.
      const float fx = static_cast<float>(x + 2 * i * Sin(dir) + wave);
      pf::setScale(0.34f, 0.1f);
      pf::setAlpha(0.4f);
      pf::setRotation(static_cast<float>(20 * Sin(dir - (angle / 2))));
      pf::drawImage(assets.blobImageLeft(), fx, by);
      pf::setRotation(static_cast<float>(20 * Sin(dir - ((angle / 2) + 180))));
      pf::drawImage(assets.blobImageRight(), fx, by);
    }
  }
  // The draw state is left as it stands; the next painter sets its own.
  return 0;
}
