// The selected ship's demonstration on the selection screen: volleys on the
// menu's two clocks into the menu's effect lists, which the menu's effect step
// moves and draws. Everything is read through `playerbase`, so whichever ship
// the factory makes for a slot shows off its weapons.
#include <algorithm>

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "frontend/menu.hpp"
#include "platform/platform.hpp"
#include "ships/particlebeam.hpp"
#include "ships/ship5bullet.hpp"

namespace {

// How a demonstration shot looks: the glow sprite, additive light.
struct DemoLook {
  int r, g, b;
  float xScale = 1.0f, yScale = 0.1f;
  float radius = 1.5f;
  float alpha = 1.0f;
  float damage = 1.0f;
};

void shoot(EntityList<bullet>& list, float x, float y, float angle, float speed, const DemoLook& look) {
  list.add(bullet::Create(x, y, angle, speed, assets.blobImage.get(), look.alpha, pf::kBlendLight, look.r, look.g,
                          look.b, look.xScale, look.yScale, look.radius, 0, look.damage));
}

// The red streak ships two and three fire at high power.
DemoLook redStreak() { return DemoLook{255, 0, 0, 3.0f, 0.15f, 20.5f, 0.5f, 1.0f}; }

}  // namespace

void menu::runDemonstration(playerbase& ship) {
  const auto every = [&](int period) { return bullettimer % period == 0; };
  // The special shows from frame 200 to 249 of its 250-frame cycle.
  const bool specialWindow = playspecialtimer >= 200 && playspecialtimer < 250;
  const float x = ship.x;
  const float y = ship.y;
  const float ahead = 270 + ship.rotation;
  const DemoLook own{ship.r, ship.g, ship.b};

  switch (ship.playertype) {
    case 1: {
      if (every(40)) {
        DemoLook look = own;
        look.damage = 1.5f;
        const float sweep = static_cast<float>(25 * Sin(timer));
        shoot(bulletlist, x - 7, y, ahead, 20, look);
        shoot(bulletlist, x + 7, y, ahead, 20, look);
        shoot(bulletlist, x - 21, y, 213 + sweep, 9, look);
        shoot(bulletlist, x + 21, y, 327 - sweep, 9, look);
        shoot(bulletlist, x - 21, y - 20, ahead, 15, look);
        shoot(bulletlist, x + 21, y - 20, ahead, 15, look);
      }
      if (every(60)) {
        for (const float direction : {0.0f, 180.0f, 327.0f, 213.0f}) missilelist.add(missile::Create(x, y, direction));
      }
      if (specialWindow) {
        for (int i = 0; i < 2; ++i) {
          const int direction = Rand(0, 359);
          missilelist.add(missile::Create(x, y, static_cast<float>(direction)));
        }
      }
      break;
    }
    case 2: {
      if (every(40)) {
        shoot(bulletlist, x - 3, y, ahead, 20, own);
        shoot(bulletlist, x + 3, y, ahead, 20, own);
        shoot(bulletlist, x - 10, y - 20, ahead, 15, own);
        shoot(bulletlist, x + 10, y - 20, ahead, 15, own);
        shoot(bulletlist, x - 15, y - 20, ahead, 10, own);
        shoot(bulletlist, x + 15, y - 20, ahead, 10, own);
      }
      if (every(80)) {
        shoot(bulletlist, x - 20, y - 20, ahead, 10, own);
        shoot(bulletlist, x + 20, y - 20, ahead, 10, own);
      }
      if (every(160)) shoot(bulletlist, x, y, ahead, 10, redStreak());
      if (specialWindow) {
        // The beams grow as they would from a full energy bar being spent.
        const int energy = 100 - (playspecialtimer - 200) - 1;
        const float size = 0.5f + static_cast<float>(energy / 20);
        for (const float side : {1.0f, -1.0f}) {
          const int red = Rand(100, 255);
          const int green = Rand(100, 255);
          bulletlist.add(particlebeam::Create(x + 15 * side, y + 50, ahead, 20, assets.blobImage.get(), 0.8f,
                                              pf::kBlendLight, red, green, 0, size, size, 10, 0, 3 * side));
        }
      }
      break;
    }
    case 3: {
      if (every(40)) {
        DemoLook look = own;
        look.alpha = 0.7f;
        for (const float offset : {0.0f, -12.0f, 12.0f, -22.0f, 22.0f})
          shoot(bulletlist, x, y, ahead + offset, 20, look);
        shoot(bulletlist, x, y, ahead - 82, 15, look);
        shoot(bulletlist, x, y, ahead + 82, 15, look);
      }
      if (every(80)) {
        for (const float offset : {0.0f, 3.0f, -3.0f}) shoot(bulletlist, x, y, ahead + offset, 10, redStreak());
      }
      if (specialWindow) {
        powerringlist.add(powerring::Create(x, y));
        blood* glow = bloodlist.add(blood::Create(x, y));
        glow->r = 255;
        glow->g = 150;
        glow->b = 0;
        glow->size = 0.8f;
        glow->Alpha = 0.5f;
      }
      splitSunSpread();
      break;
    }
    case 4: {
      if (every(40) && (ship.fire1 == 1 || ship.fire2 == 1)) {
        DemoLook look = own;
        look.damage = 2;
        const auto volley = [&](float fx, float fy) {
          if (ship.fire1 == 1) {
            shoot(bulletlist, fx, fy, ahead, 20, look);
          } else {
            shoot(bulletlist, fx, fy, ahead + 180, 20, look);
            shoot(bulletlist, fx, fy, ahead, 20, look);
          }
        };
        volley(x, y);
        bool head = true;  // the first tail point is the ship's own anchor, not a star
        ship.tail.forEach([&](TailPoint& star) {
          if (!head) volley(star.x2, star.y2);
          head = false;
        });
      }
      if (playspecialtimer == 200) firelist.add(fireAttack::Create(100));
      break;
    }
    case 5: {
      if (every(30)) {
        for (const float direction : {260.0f, 280.0f}) {
          missile* m = missilelist.add(missile::Create(x, y - 10, direction));
          m->red = 255;
          m->green = 255;
          m->blue = 0;
        }
      }
      if (every(20)) {
        for (const float phase : {static_cast<float>(180 + 3 * timer), static_cast<float>(3 * timer)}) {
          bulletlist.add(ship5bullet::Create(x, y + 30, phase, 2, assets.blobImage.get(), 1, pf::kBlendLight, 23, 23,
                                             23, 0.5f, 2.9f, 0, 0, 0.6f));
        }
      }
      // Trails linger while the special runs; the backdrop brings the fade back.
      if (specialWindow) clsalpha = std::max(0.2f, clsalpha - 0.05f);
      break;
    }
    case 6: {
      if (every(60)) shoot(bulletlist, x, y, ahead, 20, own);
      break;
    }
    default: break;
  }
}

// Ship three's shots fan out in flight: each one 15 frames old becomes two,
// six degrees either side, narrower and half as strong.
void menu::splitSunSpread() {
  bulletlist.forEach([&](bullet& b) {
    if (b.timer < 15 || b.isparticlebeam == 1) return;
    const DemoLook half{b.r, b.g, b.b, 0.7f, 0.1f, 1.5f, 1.0f, b.damage / 2};
    const float bx = b.X;
    const float by = b.Y;
    const float angle = b.angle;
    const float speed = b.speed;
    bulletlist.remove(&b);
    shoot(bulletlist, bx, by, angle - 6, speed, half);
    shoot(bulletlist, bx, by, angle + 6, speed, half);
  });
}
