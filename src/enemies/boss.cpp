#include "enemies/boss.hpp"

#include "enemies/enemybullet.hpp"
#include "essentials/assets.hpp"
#include "essentials/math.hpp"
#include "essentials/sound_helpers.hpp"
#include "fx/bigexplosion.hpp"
#include "fx/blood.hpp"
#include "fx/bossexplosion.hpp"
#include "fx/bubble.hpp"
#include "fx/explosion.hpp"
#include "fx/tpoint.hpp"
#include "ships/playerbase.hpp"

namespace {

// Below this energy the crab, clawless, stays in its frenzy.
constexpr float kFrenzyEnergy = 400;
// A pause of 60 frames separates the patterns; attacks run above it.
constexpr int kPauseLength = 60;

void setLook(enemybullet* shot, int r, int g, int b) {
  shot->r = r;
  shot->g = g;
  shot->b = b;
}

void playLoudShot() { playSfx(assets.sfxBshot, 0.8f, 1.0f); }

}  // namespace

boss::boss() : tim(static_cast<float>(Rand(0, 359))) {}

std::unique_ptr<boss> boss::Create(float x, float y, float) {
  auto e = std::make_unique<boss>();
  e->x = x;
  e->y = y;
  e->score = 100000;
  e->energy = 1200;
  e->isboss = 1;
  e->collrect = Rect::Create(0, 0, 0, 0);
  e->clawrect1 = Rect::Create(0, 0, 80, 40);
  e->clawrect2 = Rect::Create(0, 0, 80, 40);
  return e;
}

boss::Arm boss::arm(int which) const {
  Arm a{};
  const float shoulder = which == 1 ? arm1angle : arm2angle;
  const float elbow = which == 1 ? arm1angle2 : arm2angle2;
  a.shoulderX = which == 1 ? x - 40 : x + 40;
  a.shoulderY = y + 65;
  // The upper arm stretches and shrinks a little as the crab breathes.
  a.elbowX = static_cast<float>(a.shoulderX + (70 + 10 * Cos(timer)) * Cos(shoulder));
  a.elbowY = static_cast<float>(a.shoulderY + (70 + 10 * Sin(timer)) * Sin(shoulder));
  a.forearm = shoulder + elbow;
  a.tipX = static_cast<float>(a.elbowX + 50 * Cos(a.forearm));
  a.tipY = static_cast<float>(a.elbowY + 50 * Sin(a.forearm));
  return a;
}

void boss::layoutClaws() {
  const Arm left = arm(1);
  const Arm right = arm(2);
  claw1x = left.tipX;
  claw1y = left.tipY;
  claw2x = right.tipX;
  claw2y = right.tipY;
  claw1angle = angleTo(claw1x, claw1y, left.elbowX, left.elbowY) + 90;
  claw2angle = angleTo(claw2x, claw2y, right.elbowX, right.elbowY) + 90;
  // Both boxes sit 30 pixels beyond their tips along the left forearm.
  const float ox = static_cast<float>(30 * Cos(left.forearm)) - 40;
  const float oy = static_cast<float>(30 * Sin(left.forearm)) - 40;
  clawrect1 = Rect::Create(claw1x + ox, claw1y + oy, 80, 40);
  clawrect2 = Rect::Create(claw2x + ox, claw2y + oy, 80, 40);
}

int boss::Update(playerbase& p1, EntityList<enemybase>& enemylist) {
  layoutClaws();

  timer += 1;
  angle += static_cast<float>(0.4 * Sin(timer) + 2);
  tim += 0.5f;
  bubs += 1;
  if (bubs > 160) bubs = 0;

  arm1angle = static_cast<float>(145 + 10 * Sin(timer));
  arm1angle2 = static_cast<float>(300 + 30 * Sin(timer / 1.5));
  arm2angle = static_cast<float>(215 + 10 * Sin(timer) + 180);
  arm2angle2 = static_cast<float>(30 + 30 * Sin(timer + 40));

  x += static_cast<float>(0.3 * Cos(timer / 4));
  if (moving == 0) {
    y += static_cast<float>(0.2 * Sin(timer));
    attacktimer += 1;
  } else {
    // Eases in towards y 100; close enough at 90.
    y += (100 - y) / 100;
    if (y >= 90) moving = 0;
    pausetimer = 61;
  }
  collrect = Rect::Create(x - 60, y - 60, 120, 110);

  attacktimer1 += 1;
  if (attacktimer1 == 360) attacktimer1 = 0;
  attacktimer3 -= 1;
  if (attacktimer3 == 0) attacktimer3 = 359;
  attacktimer2 += 1;
  if (attacktimer2 == 360) attacktimer2 = 0;

  advancePatterns();
  if (attacktimer > 0 && pausetimer > kPauseLength) {
    if (attackphase == 1) {
      attackPhase1(p1, enemylist);
    } else {
      attackPhase2(p1, enemylist);
    }
  }
  return 0;
}

void boss::advancePatterns() {
  if (claw1energy <= 0 && claw2energy <= 0) attackphase = 2;

  pausetimer += 1;
  // The arrival frame (attacktimer 0) is no pause: pattern 1 opens the fight.
  if (attackphase == 1 && attacktimer > 0 && every(attacktimer, 380)) pausetimer = 0;
  if (pausetimer == kPauseLength) {
    attackpattern += 1;
    if (attackpattern == 5) attackpattern = 1;
  }

  if (attackphase == 2) {
    if (energy < kFrenzyEnergy) {
      attackpattern = 4;
    } else {
      if (every(attacktimer, 600)) pausetimer = 0;
      // Pattern 4 is the frenzy's alone: with energy to spare it never runs.
      if (attackpattern == 4) attackpattern = 1;
    }
  }
}

enemybullet* boss::shoot(EntityList<enemybase>& enemylist, double fromX, double fromY, double heading) {
  return enemylist.add(
      enemybullet::Create(static_cast<float>(fromX), static_cast<float>(fromY), static_cast<float>(heading)));
}

enemybullet* boss::aimedShot(EntityList<enemybase>& enemylist, const playerbase& p1, float fromX, float fromY) {
  return shoot(enemylist, fromX, fromY, angleTo(fromX, fromY, p1.x, p1.y) - 90);
}

void boss::attackPhase1(playerbase& p1, EntityList<enemybase>& enemylist) {
  const int t = attacktimer;
  const float mouthX = x;
  const float mouthY = y + 70;
  switch (attackpattern) {
    case 1:
      // Two turning fans that only ever shoot downwards.
      if (!every(t, 13)) break;
      for (int i = 0; i < 8; ++i) {
        const double a = 45 * i + 0.9 * attacktimer1;
        if (a > 0 && a < 180) shoot(enemylist, mouthX, mouthY, a)->speed = 2;
        if (attacktimer2 > 270 || attacktimer2 < 90) {
          const double b = 45 * i - 0.9 * attacktimer2 - 90;
          if (b > 0 && b < 180) shoot(enemylist, mouthX, mouthY, b)->speed = 2;
        }
      }
      break;
    case 2:
      // Slow pink fans from the living claws.
      if (!every(t, 40)) break;
      for (int c = 1; c <= 2; ++c) {
        if ((c == 1 ? claw1energy : claw2energy) <= 0) continue;
        const float cx = c == 1 ? claw1x : claw2x;
        const float cy = c == 1 ? claw1y : claw2y;
        const float ca = c == 1 ? claw1angle : claw2angle;
        for (const double spread : {45.0, 22.5, 0.0, -22.5, -45.0}) {
          enemybullet* shot = shoot(enemylist, cx, cy, ca + spread);
          shot->speed = 1.2f;
          shot->drawtail = 0;
          setLook(shot, 255, 100, 200);
        }
      }
      break;
    case 3: {
      // Red half-fans to the left and to the right in turn.
      if (!every(t, 30)) break;
      const int first = attackmode == 0 ? 90 : 10;
      for (int i = 0; i < 9; ++i) {
        enemybullet* shot = shoot(enemylist, mouthX, mouthY, first + 10 * i);
        shot->speed = 2;
        setLook(shot, 255, 0, 0);
      }
      if (attackmode == 0) {
        attackmode = 1;
      } else {
        attackmode = 0;
        if (every(t, 90)) {
          if (claw1energy > 0) {
            aimedShot(enemylist, p1, claw1x, claw1y);
            playLoudShot();
          }
          if (claw2energy > 0) aimedShot(enemylist, p1, claw2x, claw2y);
        }
      }
      break;
    }
    case 4:
      // A stream from both claw positions, living claws or stumps alike.
      if (!every(t, 4)) break;
      setLook(shoot(enemylist, claw1x, claw1y, claw1angle), 255, 150, 0);
      setLook(shoot(enemylist, claw2x, claw2y, claw2angle), 255, 150, 0);
      if (every(t, 60)) {
        for (int i = 0; i < 6; ++i) shoot(enemylist, mouthX, mouthY, 30 + 20 * i)->speed = 2;
      }
      break;
    default: break;
  }
}

void boss::mirroredFans(EntityList<enemybase>& enemylist, double s) {
  for (int i = 0; i < 4; ++i) {
    enemybullet* a = shoot(enemylist, x, y + 70, 90 + s - 67.5 + 45 * i);
    a->speed = 2;
    a->drawtail = 0;
    enemybullet* b = shoot(enemylist, x, y + 70, 180 - (90 + s) - 67.5 + 45 * i);
    b->speed = 2;
    b->drawtail = 0;
  }
}

void boss::attackPhase2(playerbase& p1, EntityList<enemybase>& enemylist) {
  const int t = attacktimer;
  switch (attackpattern) {
    case 1:
      if (every(t, 6)) mirroredFans(enemylist, 45 * Sin(3 * timer));
      break;
    case 2:
      // Green rain from the stumps, with slower sweeping fans in between.
      if (every(t, 4)) {
        setLook(shoot(enemylist, claw1x, claw1y, 90), 0, 255, 0);
        playLoudShot();
        setLook(shoot(enemylist, claw2x, claw2y, 90), 0, 255, 0);
        playLoudShot();
      }
      if (every(t, 13)) mirroredFans(enemylist, 45 * Sin(timer));
      break;
    case 3: {
      // Full rings, alternately right and left of the body.
      if (!every(t, 40)) break;
      const float ringX = attackmode == 0 ? x + 150 : x - 150;
      for (int i = 0; i < 36; ++i) setLook(shoot(enemylist, ringX, y + 70, 4 * timer + 10 * i), 255, 0, 0);
      attackmode = attackmode == 0 ? 1 : 0;
      break;
    }
    case 4:
      // The frenzy: two counter-turning spirals of bare sparks.
      if (!every(t, 4)) break;
      for (int i = 0; i < 9; ++i) {
        for (const double heading : {3.9 * timer + 8 * i, 8 * i - 3.9 * timer}) {
          enemybullet* shot = shoot(enemylist, x, y + 70, heading);
          shot->drawtail = 0;
          shot->drawblob = 0;
          shot->speed = 2;
          setLook(shot, 255, 150, 0);
        }
      }
      if (every(t, 60)) {
        for (enemybullet* shot : {aimedShot(enemylist, p1, claw1x, claw1y), aimedShot(enemylist, p1, claw2x, claw2y)}) {
          shot->speed = 2;
          setLook(shot, 255, 0, 0);
        }
      }
      break;
    default: break;
  }
}

int boss::checkcollisions(const Rect& r) {
  // A flag left by a test that was not followed by a hit must not carry over.
  hitclaw1 = 0;
  hitclaw2 = 0;
  if (attacktimer <= 0) return 0;  // gliding in: untouchable
  if (claw1energy > 0 && overlaps(clawrect1, r)) {
    hitclaw1 = 1;
    return 1;
  }
  if (claw2energy > 0 && overlaps(clawrect2, r)) {
    hitclaw2 = 1;
    return 1;
  }
  if (claw1energy <= 0 && claw2energy <= 0) return overlaps(collrect, r);
  return 0;
}

void boss::damageClaw(int& clawenergy, float clawx, float clawy, float amount,
                      EntityList<explosionbase>& explosionlist) {
  // Whole points only, truncated: a hit of 0.7 takes 1, one of 1.5 takes 2.
  clawenergy = static_cast<int>(static_cast<float>(clawenergy) - amount);
  if (clawenergy > 0) return;
  explosionlist.add(explosion::Create(clawx, clawy, 100, 255, 0, 16, 2, 0, 0, 0, 0));
  auto chain = bigexplosion::Create(x, y, 255, 255, 255, 16, 0.5f, 0, 0, 0, 0);
  for (int i = 0; i < 50; ++i) {
    const int jx = Rand(-40, 40);
    const int jy = Rand(-40, 40);
    chain->pointlist.add(tpoint::Create(clawx + static_cast<float>(jx), clawy + static_cast<float>(jy)));
  }
  explosionlist.add(std::move(chain));
}

int boss::damage(float amount, EntityList<bubble>& bubblelist, EntityList<enemybase>&,
                 EntityList<explosionbase>& explosionlist) {
  if (attacktimer <= 0) return 0;
  if (hitclaw1 == 1) {
    hitclaw1 = 0;
    damageClaw(claw1energy, claw1x, claw1y, amount, explosionlist);
  }
  if (hitclaw2 == 1) {
    hitclaw2 = 0;
    damageClaw(claw2energy, claw2x, claw2y, amount, explosionlist);
  }
  if (claw1energy > 0 || claw2energy > 0) return 0;

  energy -= amount;
  if (energy > 0) return 0;
  for (int i = 0; i < 500; ++i) {
    const int a = Rand(0, 359);
    const int r = Rand(0, 200);
    bubble* b = bubblelist.add(bubble::Create(static_cast<float>(x + r * Cos(a)), static_cast<float>(y + r * Sin(a))));
    b->life = static_cast<float>(Rnd(1, 2));
  }
  return 1;
}

int boss::addeffects(EntityList<bubble>& bubblelist, EntityList<blood>& bloodlist) {
  // Breathes out a stream of bubbles for 59 frames of every 161.
  if (bubs > 100 && bubs < 160) {
    const int ox = Rand(-3, 3);
    const int oy = Rand(-5, 5);
    bubblelist.add(bubble::Create(x + static_cast<float>(ox), y + 95 + static_cast<float>(oy)))->life = 3;
  }
  // The stumps bleed.
  if (claw1energy <= 0) bloodlist.add(blood::Create(claw1x, claw1y));
  if (claw2energy <= 0) bloodlist.add(blood::Create(claw2x, claw2y));
  return 0;
}

int boss::makeexplosions(EntityList<explosionbase>& explosionlist) {
  explosionlist.add(bossexplosion::Create(x, y));
  return 0;
}
