#include "ships/fire_attack.hpp"

#include "essentials/assets.hpp"
#include "essentials/geometry.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "platform/platform.hpp"
#include "ships/playerbase.hpp"

namespace {

constexpr float kLift = 0.8f;
// Flames this close to the ship are flung aside.
constexpr float kPartingRadius = 100;
// The fire lasts at least this many frames, then until its last flame is gone.
constexpr float kMinLifetime = 200;

}  // namespace

fireAttack::fireAttack() : size(static_cast<float>(Rnd(0.9, 3.0))) {}

std::unique_ptr<fireAttack> fireAttack::Create(int bits) {
  auto f = std::make_unique<fireAttack>();
  f->bits = bits;
  return f;
}

int fireAttack::Update(playerbase& ship) {
  timer += 1;

  // Flames are born along the bottom edge, more of them as the fire goes on.
  if (timer < static_cast<float>(bits)) {
    const int n = static_cast<int>(timer / 5);
    for (int i = 0; i <= n; ++i) {
      const float fx = static_cast<float>(Rand(100, 700));
      tpoint* p = particles.add(tpoint::Create(fx, static_cast<float>(settings.screenheight + i)));
      p->yVel = -0.5f;
      p->xVel = 0;
      p->angle = static_cast<float>(Rand(0, 359));
    }
  }

  particles.forEach([&](tpoint& p) {
    p.yVel -= kLift;
    p.y += p.yVel;
    p.x = static_cast<float>(p.x + 3 * Sin(p.angle + timer));
    p.x += p.xVel;
    if (p.y < 0) particles.remove(&p);
    if (circleHitsRect(ship.collrect, p.x, p.y, kPartingRadius) == 1) {
      p.xVel = static_cast<float>(p.x < ship.x ? Rnd(-31.5, -11.5) : Rnd(11.5, 31.5));
      p.yVel = static_cast<float>(Rnd(5.5, 10.5));
    }
  });

  return timer > kMinLifetime && particles.empty() ? 1 : 0;
}

void fireAttack::updateLooks() {
  flicker_.clear();
  particles.forEach([&](tpoint&) {
    const int red = DrawRand(200, 255);
    const int green = DrawRand(150, 201);
    flicker_.push_back(Flicker{red, green});
  });
}

void fireAttack::paint() const {
  pf::setAlpha(0.6f);
  pf::setBlend(pf::kBlendLight);
  size_t i = 0;
  particles.forEach([&](const tpoint& p) {
    pf::setScale(p.size, p.size);
    pf::setAlpha(0.6f);
    const Flicker& flicker = flicker_[i++];
    pf::setColour(flicker.red, flicker.green, 0);
    pf::drawImage(assets.blobImage(), p.x, p.y);
    pf::setColour(255, 255, 255);
    pf::setScale(size / 5, size / 5);
    pf::drawImage(assets.blobImage(), p.x, p.y);
  });
}
