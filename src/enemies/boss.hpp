#pragma once
// The giant crab at the end of the level. It glides in untouchable, then sways
// in the upper water and cycles through four bullet patterns. While either
// claw lives only the claws can be hit; with both gone the body can, the
// patterns grow heavier, and below 400 energy it fires its frenzy until it
// dies.
#include <memory>

#include "enemies/enemybase.hpp"

class enemybullet;

class boss : public enemybase {
 public:
  boss();

  // Leg-swing phase in degrees.
  float angle = 0;
  // Frames since creation; drives every wave of the body.
  float timer = 0;
  // Second phase of the shell animation.
  float tim;
  float ymov = 0;
  // Shoulder and elbow angles of the left (1) and right (2) arm.
  float arm1angle = 0;
  float arm1angle2 = 10;
  float arm2angle = 0;
  float arm2angle2 = 180;
  Rect clawrect1;
  Rect clawrect2;
  int claw1energy = 300;
  int claw2energy = 300;
  // Direction each claw points (its shots use it).
  float claw1angle = 0;
  float claw2angle = 0;
  // Which claw the last checkcollisions touched; damage consumes them.
  int hitclaw1 = 0;
  int hitclaw2 = 0;
  float claw1x = 0;
  float claw2x = 0;
  float claw1y = 0;
  float claw2y = 0;
  // Clocks of the two turning fans, 0..359.
  int attacktimer1 = 0;
  int attacktimer2 = 180;
  int attacktimer3 = 90;
  int attackpattern = 1;
  // 1 while a claw lives, 2 after both are destroyed.
  int attackphase = 1;
  // Alternates 0 and 1 inside pattern 3.
  int attackmode = 1;
  // Frames since the crab arrived; 0 while it glides in.
  int attacktimer = 0;
  // Frames since the last pause began; the crab attacks only above 60.
  int pausetimer = 121;
  int moving = 1;
  // Breathing cycle, 0..160.
  int bubs = 0;

  // The third value is ignored.
  static std::unique_ptr<boss> Create(float x, float y, float third);

  // Never leaves by itself: always 0.
  int Update(playerbase& p1, EntityList<enemybase>& enemylist) override;
  int paint() const override;
  // Lays out the claws again (see layoutClaws).
  void updateLooks() override;
  int checkcollisions(const Rect& r) override;
  int addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) override;
  int makeexplosions(EntityList<explosionbase>& explosionlist) override;
  int damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>& enemylist,
             EntityList<explosionbase>& explosionlist) override;

 private:
  // The pattern clock: pauses, the pattern rotation and the phase switch.
  void advancePatterns();
  void attackPhase1(playerbase& p1, EntityList<enemybase>& enemylist);
  void attackPhase2(playerbase& p1, EntityList<enemybase>& enemylist);
  // Phase 2's pair of mirrored four-way fans from the mouth.
  void mirroredFans(EntityList<enemybase>& enemylist, double s);
  enemybullet* shoot(EntityList<enemybase>& enemylist, double fromX, double fromY, double heading);
  // A shot from a claw at the ship.
  enemybullet* aimedShot(EntityList<enemybase>& enemylist, const playerbase& p1, float fromX, float fromY);
  // Claw tips, angles and hit boxes from the current arm angles. Update runs
  // it first and the looks step after the Update, so the claws are drawn
  // where the ship's missiles look for them in the next frame.
  void layoutClaws();
  // Takes a hit from one claw's energy; on its destruction the claw bursts.
  void damageClaw(int& clawenergy, float clawx, float clawy, float amount, EntityList<explosionbase>& explosionlist);

  // Drawing layers, back to front.
  void paintAura() const;
  void paintMouth() const;
  void paintLegs() const;
  void paintSparkColumn() const;
  void paintShell() const;
  // One jointed arm: shoulder, elbow, claw tip and the forearm's direction.
  struct Arm {
    float shoulderX, shoulderY, elbowX, elbowY, tipX, tipY, forearm;
  };
  // The left arm (1) or the right arm (2) as the current fields place it.
  Arm arm(int which) const;
  void paintArm(const Arm& a, float armangle) const;
  // The jaws around the point 30 pixels beyond the tip along `direction`;
  // `side` -1 for the left claw, 1 for the right.
  void paintPincers(float tipX, float tipY, float direction, float phase, float side) const;
};
