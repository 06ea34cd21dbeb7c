#pragma once
// A thrashing eel: a head whipping about on a tangent-driven heading, fifteen
// links pulled along behind it, and every couple of hundred frames a ring of
// eight red bullets.
#include <array>
#include <memory>

#include "enemies/enemybase.hpp"
#include "ships/tailpoint.hpp"

class eel : public enemybase {
 public:
  eel();
  ~eel() override;

  static constexpr int kLinks = 15;

  std::array<float, 16> yArray{};
  std::array<float, 16> xArray{};
  std::array<float, 16> xArray2{};
  std::array<float, 16> yArray2{};
  std::array<float, 16> angle{};
  // Heading in degrees: 0 moves down, 180 up.
  float angle2 = 0;
  float radius = 5;
  float direction = 0;
  float speed = 1;
  // Phase of the thrashing, whole degrees.
  int timer;
  // Sprite scale factor.
  float size = 1;
  // Speed along the heading; the level sets it negative.
  float eelVelocity = 0;
  // The body, link 0 next to the head.
  std::array<std::unique_ptr<TailPoint>, kLinks> tail;
  // Sign of the thrash: 0 adds the tangent, 1 subtracts it.
  int twist;
  // 1 sinks one more pixel per frame.
  int twist2;
  // Frames since the last volley, and bullets fired in the current one.
  int attack;
  int attackangle = 0;

  // The third value is the heading (the first Update replaces it).
  static std::unique_ptr<eel> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  // Touches any of the 10 by 10 squares centred on the links themselves.
  int checkcollisions(const Rect& r) override;
  int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  int makeexplosions(EntityList<explosionbase>& explosionlist) override;
  // On death, 15 bubbles around each of the five front links.
  int damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>& enemylist,
             EntityList<explosionbase>& explosionlist) override;
};
