#include "fx/bossexplosion.hpp"

#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/sound_helpers.hpp"
#include "fx/blood.hpp"
#include "fx/bubble.hpp"
#include "fx/explosion.hpp"

namespace {

constexpr int kRingEnd = 70;
constexpr int kRingBursts = 19;
constexpr int kScatterStart = 25, kScatterEnd = 100, kScatterBursts = 21;
constexpr int kBubblesStart = 100, kBubblesEnd = 280, kBubblesPerFrame = 11;
constexpr int kBloodStart = 100, kBloodEnd = 250;
constexpr int kLastFrame = 500;

}  // namespace

std::unique_ptr<bossexplosion> bossexplosion::Create(float x, float y) {
  auto e = std::make_unique<bossexplosion>();
  e->x = x;
  e->y = y;
  e->isboss = 1;
  return e;
}

int bossexplosion::Update(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) {
  timer += 1;
  const int t = timer;

  // Rings of big explosions, 12 pixels wider every frame; every other ring has
  // twice the spacing.
  if (t % 2 == 0 && t < kRingEnd) {
    const int step = t % 4 == 0 ? 20 : 40;
    for (int i = 0; i < kRingBursts; ++i) {
      const int a = step * i;
      auto ring =
          explosion::Create(static_cast<float>(x + 12 * t * Sin(a)), static_cast<float>((y + 50) + 12 * t * Cos(a)),
                            100, 255 - t, 0, 16, 1.0f, 0, 0, 0, 0);
      ring->drawblob = 0;
      list.add(std::move(ring));
    }
    playSfx(assets.sfxZap, 0.4f, 1.0f);
  }

  if (kScatterStart < t && t < kScatterEnd) {
    for (int i = 0; i < kScatterBursts; ++i) {
      const int a = Rand(0, 359);
      const int d = Rand(0, 300);
      list.add(explosion::Create(static_cast<float>(x + d * Sin(a)), static_cast<float>(y + d * Cos(a) + 100), 255, 255,
                                 255, 16, 0.3f, 1, 0, 0, 0));
    }
    playSfx(assets.sfxZap, 0.3f, 1.0f);
  }

  if (kBubblesStart < t && t < kBubblesEnd) {
    for (int i = 0; i < kBubblesPerFrame; ++i) {
      const int a = Rand(0, 359);
      const int d = Rand(0, 200);
      bubblelist.add(bubble::Create(static_cast<float>(x + d * Sin(a)), static_cast<float>(y + d * Cos(a) + 100)));
    }
  }

  if (kBloodStart < t && t < kBloodEnd && t % 4 == 0) {
    const int a = Rand(0, 359);
    const int d = Rand(0, 300);
    bloodlist.add(blood::Create(static_cast<float>(x + d * Sin(a)), static_cast<float>(y + d * Cos(a) + 100)));
  }

  list.forEach([&](explosionbase& e) {
    if (e.Update(bubblelist, bloodlist) == 1) list.remove(&e);
  });
  return timer > kLastFrame ? 1 : 0;
}

int bossexplosion::paint() const {
  list.forEach([](const explosionbase& e) { e.paint(); });
  return 0;
}
