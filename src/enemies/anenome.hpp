#pragma once
// A small swaying stalk with a glowing tip that drifts down and every 300
// frames flashes and fires one bullet at the ship.
#include <array>
#include <memory>

#include "enemies/enemybase.hpp"

class anenome : public enemybase {
 public:
  anenome();

  static constexpr int kSegments = 5;

  // Stalk point of each segment.
  std::array<float, kSegments> yArray{};
  std::array<float, kSegments> xArray{};
  // Drawn point: the stalk point plus sway; index 4 is the tip.
  std::array<float, kSegments> xArray2{};
  std::array<float, kSegments> yArray2{};
  // Sway phase of each segment.
  std::array<float, kSegments> angle{};
  // Stalk direction; 0 with the negative size stands the stalk straight up.
  float angle2 = 0;
  float radius = 3;
  float direction = 0;
  float speed = 1;
  int timer;
  // Negative: turns the stalk upwards and mirrors the sprites.
  float size = -2;
  // 0 adds one degree of sway phase per frame.
  float Velocity = 0;
  // Sway speed, degrees per frame: one of -5, -4, 4, 5 after Create.
  int angleMod;
  // Alpha of the tip flash, never below 0.2.
  float flashlife = 0;

  static std::unique_ptr<anenome> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  int makeexplosions(EntityList<explosionbase>& explosionlist) override;
  // A dark disc under the foot.
  int paintBG() override;

 private:
  void layoutStalk();
};
