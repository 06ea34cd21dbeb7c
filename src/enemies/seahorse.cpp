#include "enemies/seahorse.hpp"

#include "enemies/enemybullet.hpp"
#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "fx/bigexplosion.hpp"
#include "fx/bubble.hpp"
#include "fx/explosion.hpp"
#include "platform/platform.hpp"
#include "ships/playerbase.hpp"

std::unique_ptr<seahorse> seahorse::Create(float x, float y, float) {
  auto e = std::make_unique<seahorse>();
  e->x = x;
  e->y = y;
  e->angle = 0;
  e->energy = 150;
  e->score = 300;
  e->collrect = Rect::Create(0, 0, 0, 0);
  return e;
}

seahorse::point seahorse::snout() const {
  const double f = facing;
  const double m = side();
  const double neck = angle - 33 * m + 12 * Sin(3 * timer);
  const double hx = x2 + 8 * f * Cos(neck);
  const double hy = y2 + 8 * f * Sin(neck);
  const double head = angle - 135 * m - 30 * Sin(2 * curl);
  return point{static_cast<float>(hx + 31.5 * f * Cos(head)), static_cast<float>(hy + 36 * f * Sin(head) + 1)};
}

int seahorse::Update(playerbase& p1, EntityList<enemybase>& enemylist) {
  timer += 1;
  curl += 1;
  y += 0.3f;
  if (lr == 0) {
    facing = 1;
    x -= 0.5f;
    angle = 330;
  } else {
    facing = -1;
    x += 0.5f;
    angle = -330;
  }
  x2 = static_cast<float>(x + 50 * Cos(timer));
  y2 = static_cast<float>(y + 50 * Sin(timer));

  // A fan of five from the snout, aimed from the centre.
  if (timer % 40 == 0 && x > 150 && x < 650 && y < 400) {
    const float aim = angleTo(x, y, p1.x, p1.y) - 90;
    const point s = snout();
    for (const float spread : {-33.0f, -66.0f, 0.0f, 33.0f, 66.0f}) {
      enemybullet* shot = enemylist.add(enemybullet::Create(s.x, s.y, aim + spread));
      shot->r = 200;
      shot->g = 200;
      shot->b = 0;
    }
  }
  collrect = Rect::Create(x2 - 40, y2 - 10, 80, 20);
  if (x > settings.screenwidth || x < 0 || y > settings.screenheight + 150) return 1;
  return 0;
}

int seahorse::addeffects(EntityList<bubble>& bubblelist, EntityList<blood>&) {
  if (timer % 2 == 0) {
    const point s = snout();
    bubblelist.add(bubble::Create(s.x, s.y));
  }
  return 0;
}

int seahorse::damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>&, EntityList<explosionbase>&) {
  energy -= amount;
  if (energy > 0) return 0;
  const point s = snout();
  for (int i = 0; i < 20; ++i) releaseDeathBubble(bubblelist, s.x - 50, s.x + 20, s.y - 50, s.y + 20);
  return 1;
}

int seahorse::makeexplosions(EntityList<explosionbase>& explosionlist) {
  const point s = snout();
  addChainedDeath(explosionlist, s.x, s.y, 0);
  return 0;
}

int seahorse::paint() const {
  const pf::Image& blob = assets.blobImage();
  const double f = facing;
  const double m = side();
  const double th = angle;
  const double beat = Sin(3 * timer);
  const double curlWave = Sin(curl);
  const double curlWave2 = Sin(2 * curl);

  resetDrawState();
  pf::setBlend(pf::kBlendLight);
  pf::setScale(0.35f, 0.35f);
  pf::setColour(0, 255, 0);
  pf::drawImage(blob, x2, y2);
  pf::setScale(0.2f, 0.2f);
  pf::setColour(255, 255, 255);
  pf::drawImage(blob, x2, y2);

  // Head and neck anchors.
  const float dx = static_cast<float>(x2 + 8 * f * Cos(th - 65 * m + 12 * beat));
  const float dy = static_cast<float>(y2 + 8 * f * Sin(th - 75 * m + 25 * beat));
  const float nx = static_cast<float>(x2 + 8 * f * Cos(th + 33 * m + 12 * beat));
  const float ny = static_cast<float>(y2 + 8 * f * Sin(th + 33 * m + 12 * beat));
  pf::setScale(0.15f, 0.15f);
  pf::drawImage(blob, dx, dy);
  pf::drawImage(blob, nx, ny);

  // Body and curling tail, shrinking towards the tip.
  const float bodyBase = lr == 0 ? 0.3f : 0.35f;
  float px = nx, py = ny;
  for (int i = 0; i < 20; ++i) {
    const double across = 2 * i - i * curlWave2;
    const double down = 3 * i - i * curlWave2;
    const float bx = static_cast<float>(nx + f * across * Cos(th + 15 * i * m + 220 * curlWave));
    const float by = static_cast<float>(ny + f * down * Sin(th + 5 * i * m + 30 * curlWave));
    const float taper = (10.0f - static_cast<float>(i)) / 45.0f;
    if (i % 2 == 0) {
      pf::setColour(150, 255, 0);
      pf::setAlpha(0.2f);
    } else {
      pf::setColour(100, 200, 0);
      pf::setAlpha(0.4f);
    }
    pf::setRotation(0);
    pf::setScale(bodyBase + taper, bodyBase + taper);
    pf::drawImage(blob, bx, by);
    const bool tip = i == 19 && lr == 0;
    if (tip) {
      pf::setScale(0.7f + taper, 0.7f + taper);
      pf::drawImage(blob, bx, by);
    }
    if (i % 2 == 0 && i > 4) {
      // A thin dorsal spine along the body.
      pf::setScale(0.05f, 0.4f + taper);
      pf::setRotation(angleTo(bx, by, px, py));
      pf::drawImage(blob, bx, by);
      pf::setRotation(0);
    }
    pf::setColour(255, 255, 255);
    pf::setAlpha(1);
    pf::setScale(0.05f, 0.05f);
    pf::drawImage(blob, bx, by);
    if (tip) {
      pf::setAlpha(0.2f);
      pf::setColour(150, 255, 0);
      pf::setScale(1.7f + taper, 1.7f + taper);
      pf::drawImage(blob, bx, by);
    }
    px = bx;
    py = by;
  }

  // Head and snout from the head anchor.
  px = dx;
  py = dy;
  for (int i = 0; i < 10; ++i) {
    const double dir = th - 15 * i * m - 30 * curlWave2;
    const float hx = static_cast<float>(dx + 3.5 * i * f * Cos(dir));
    const float hy = static_cast<float>(dy + 3.5 * i * f * Sin(dir));
    const float taper = (10.0f - static_cast<float>(i)) / 45.0f;
    pf::setRotation(0);
    if (i == 6 || i == 7) {
      const float grow = (i == 6 ? 0.45f : 0.25f) + taper;
      pf::setColour(180, 255, 0);
      pf::setAlpha(0.4f);
      pf::setScale(grow, grow);
    } else if (i % 2 == 0) {
      pf::setColour(255, 255, 0);
      pf::setAlpha(0.4f);
      pf::setScale(0.15f + taper, 0.15f + taper);
    } else {
      pf::setColour(0, 255, 0);
      pf::setAlpha(0.2f);
      pf::setScale(0.15f + taper, 0.15f + taper);
    }
    pf::drawImage(blob, hx, hy);
    const float along = angleTo(hx, hy, px, py);
    if (i == 7) {
      // The eye.
      pf::setColour(255, 0, 0);
      pf::setScale(0.6f, 0.6f);
      pf::setAlpha(0.4f);
      pf::drawImage(blob, hx, hy);
      pf::setScale(0.05f, 0.35f);
      pf::setAlpha(0.25f);
      pf::setRotation(along + 90);
      pf::drawImage(blob, hx, hy);
      pf::setRotation(0);
      pf::setColour(255, 255, 255);
      pf::setScale(0.08f, 0.08f);
      pf::setAlpha(1);
      pf::drawImage(blob, hx, hy);
    }
    if (i >= 8) {
      // The snout: streaks along the head line.
      pf::setColour(200, 100, 0);
      pf::setAlpha(0.6f);
      pf::setScale(0.08f, 0.3f);
      pf::setRotation(along);
      pf::drawImage(blob, hx, hy);
      pf::setRotation(0);
      if (i == 8) {
        pf::setColour(255, 255, 255);
        pf::setScale(0.1f, 0.1f);
        pf::setAlpha(1);
        pf::drawImage(blob, hx, hy);
      }
    }
    px = hx;
    py = hy;
  }
  // The draw state is left as it stands; the next painter sets its own.
  return 0;
}
