#pragma once
// A homing missile: thrusts along its heading, turns towards its target with a
// turn rate that builds up and carries over (so it overshoots and loops), and
// draws a fading line trail.
#include <memory>

#include "essentials/entity_list.hpp"
#include "essentials/geometry.hpp"
#include "essentials/recycled.hpp"
#include "ships/tstreak.hpp"

class bubble;

class missile : public Recycled {
 public:
  // Frames left.
  int life;
  int red = 200, green = 0, blue = 100;
  float x = 0, y = 0;
  float DirectionX = 0, DirectionY = 0;
  // Velocity.
  float XS = 0, YS = 0;
  int Done = 0;
  float Degree = 0;
  // Heading, 0 to 360.
  float Direction = 0;
  // Degrees per frame, -16 to 16.
  float TurnSpeed = 0;
  // Bearing to the target.
  float angle = 0;
  Rect collrect;
  std::unique_ptr<tstreak> trail;
  // 1 = the head is drawn and the trail grows.
  int drawMissile = 1;
  int streakTimer = 0;
  float damage = 2;
  int timer = 0;

  missile();
  static std::unique_ptr<missile> Create(float x, float y, float direction);
  // One frame homing on (tx, ty); 1 = life used up.
  int Update(int tx, int ty);
  // A bubble every fourth frame.
  void addeffects(EntityList<bubble>& bubblelist);
  void draw() const;
};
