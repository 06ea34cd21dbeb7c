#pragma once
// The enemies' projectile: a glowing ball with three circling sparks and a
// white trail, flying straight at a fixed speed.
#include <memory>

#include "enemies/enemybase.hpp"
#include "essentials/math.hpp"

class tstreak;

class enemybullet : public enemybase {
 public:
  enemybullet();
  ~enemybullet() override;

  std::unique_ptr<tstreak> tail;
  // Direction of travel in degrees.
  float angle = 0;
  // Phase of the sparks, +12 degrees per frame.
  int timer = 0;
  int r = 0;
  int g = 255;
  int b = 100;
  float speed = 3.0f;
  int drawtail = 1;
  int drawblob = 1;

  // The third value is the heading. Plays the shot sound.
  static std::unique_ptr<enemybullet> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  // Hits of 1 or less (the power ring) leave the energy untouched.
  int damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>& enemylist,
             EntityList<explosionbase>& explosionlist) override;

 private:
  DirectionCache heading_;
};
