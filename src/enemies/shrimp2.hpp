#pragma once
// The streaking shrimp released by hermit shells: a small homing swimmer with
// a segmented trail that loops round and streams down to a point below the
// screen, shoving itself away from every enemy it overlaps.
#include <cstdint>
#include <memory>

#include "enemies/enemybase.hpp"
#include "enemies/shrimpstreak.hpp"
#include "platform/image.hpp"

class shrimp2 : public enemybase {
 public:
  shrimp2();
  ~shrimp2() override;

  // Fields kept from the homing-missile model; only the ones with comments drive anything.
  int life;
  int Red = 0, Green = 0, Blue = 0;
  float DirectionX = 0, DirectionY = 0;
  // Velocity, pixels per frame.
  float XS = 0, YS = 0;
  int Done = 0;
  float Degree = 0;
  // Heading of the thrust in degrees (0 right, 90 down).
  float Direction = 0;
  // Current turn rate, degrees per frame.
  float TurnSpeed = 0;
  float angle = 0;
  // Feeler wave phase, +10 per drawing.
  int angle2 = 0;
  const pf::Image* image = nullptr;
  std::unique_ptr<shrimpstreak> trail;
  int drawMissile = 1;
  // Frame counter: the bubble rhythm.
  int streakTimer = 0;
  int timer = 0;
  // A whole-number energy of its own, never read; hits use enemybase::energy.
  int wholeEnergy = 1;
  int nSegs = 1;
  int energyLevel = 1;
  int value = 75;
  uint8_t canGenerate = 0;
  int genType = 0;
  // The point it homes on, below the bottom of the screen.
  int targetX;
  int targetY = 800;
  int finishedTimer = 0;

  // The third value is the start direction.
  static std::unique_ptr<shrimp2> Create(float x, float y, float third);

  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  // The feelers' wave and the trail's segments turn on.
  void updateLooks() override;
  int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  // Every overlapping enemy shoves it once per frame.
  int dodge(EntityList<enemybase>& enemylist) override;
};
